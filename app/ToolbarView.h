#pragma once

#include "look/FrameTicker.h"
#include "look/MascotPauser.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;

namespace pomelark {

class CountLabel;
class ElidedLabel;
class IconBtn;
class PomelarkButton;
class SelectToggle;
class ToolIconBtn;
class TuppoWiggle;

/// The bar across the top of the grid screen: the wiggling mascot, "Send to
/// Photos" and the settings gear; the source folder with a button to choose
/// another; the photo and video counts; the two tidy tools and the select toggle.
/// It decides nothing: `hasMedia` switches the send button, the tools and the
/// toggle on and off, and each control calls its action.
class ToolbarView : public QWidget {
    Q_OBJECT
public:
    struct Inputs {
        QString folderPath;
        int photoCount = 0;
        int videoCount = 0;
        /// A muted "N skipped" label shows only when above 0.
        int skippedCount = 0;
        /// A coral line under the folder line, only when present.
        std::optional<QString> errorMessage;
        bool hasMedia = false;
        bool selectMode = false;
        std::function<void()> onPickFolder;
        std::function<void()> onAutoRotate;
        std::function<void()> onBestShot;
        std::function<void()> onToggleSelect;
        std::function<void()> onSendToPhotos;
        std::function<void()> onSettings;
    };

    explicit ToolbarView(Inputs inputs, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared(),
                         MascotPauser &pauser = MascotPauser::shared());

    void setFolderPath(const QString &folderPath);
    void setPhotoCount(int photoCount);
    void setVideoCount(int videoCount);
    void setSkippedCount(int skippedCount);
    void setErrorMessage(const std::optional<QString> &errorMessage);
    void setHasMedia(bool hasMedia);
    void setSelectMode(bool selectMode);

    PomelarkButton *sendButton() const { return m_send; }
    IconBtn *settingsButton() const { return m_settings; }
    IconBtn *folderButton() const { return m_folder; }
    ElidedLabel *folderLine() const { return m_folderLine; }
    QLabel *errorLine() const { return m_error; }
    CountLabel *photoLabel() const { return m_photos; }
    CountLabel *videoLabel() const { return m_videos; }
    CountLabel *skippedLabel() const { return m_skipped; }
    ToolIconBtn *autoRotateButton() const { return m_autoRotate; }
    ToolIconBtn *bestShotButton() const { return m_bestShot; }
    SelectToggle *selectToggle() const { return m_select; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void call(const std::function<void()> Inputs::*action) const;

    Inputs m_inputs;
    TuppoWiggle *m_mascot = nullptr;
    PomelarkButton *m_send = nullptr;
    IconBtn *m_settings = nullptr;
    ElidedLabel *m_folderLine = nullptr;
    IconBtn *m_folder = nullptr;
    QLabel *m_error = nullptr;
    CountLabel *m_photos = nullptr;
    CountLabel *m_videos = nullptr;
    CountLabel *m_skipped = nullptr;
    ToolIconBtn *m_autoRotate = nullptr;
    ToolIconBtn *m_bestShot = nullptr;
    SelectToggle *m_select = nullptr;
};

} // namespace pomelark
