#pragma once

#include "browsing/FullsizeImageView.h"
#include "browsing/VideoPlayerPanel.h"
#include "look/Binding.h"
#include "look/ItemOverlayBackdrop.h"
#include "services/MediaItem.h"

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QUuid>

class QLabel;

namespace pomelark {

class ExcludedBadge;
class RoundOverlayButton;
class ViewerCheck;

/// The full-window viewer over the grid: one item of the session at a time, large,
/// on the dark one-item backdrop. A photo shows zoomable, with a "Rotate right"
/// button; a video shows in the video panel. The header gives the kind, the file
/// name and the position (and "Excluded" for an excluded item) and a close
/// button; previous and next stop at the ends of the list. In select mode a round
/// check toggles the shown item's selection.
///
/// Keys, without modifiers: left and right step, Escape closes, space toggles the
/// selection in select mode (outside it space plays and pauses a video).
///
/// It changes the session only through its bindings and `onClose`, and keeps no
/// state of its own: `index` must lie within `media` whenever it is shown.
class ViewerView : public ItemOverlayBackdrop {
    Q_OBJECT
public:
    struct Inputs {
        MediaItems media;                      ///< the items stepped through, in grid order
        Binding<int> index;                    ///< position of the shown item in `media`
        Binding<QHash<QUuid, int>> rotations;  ///< clockwise degrees per item, 0…359; none means 0
        QSet<QUuid> excludedIDs;               ///< items left out of the send (read only)
        Binding<QSet<QUuid>> selectedIDs;      ///< the selection
        bool selectMode = false;               ///< the grid is in select mode
        std::function<void()> onClose;         ///< asks the main view to close the viewer
    };

    explicit ViewerView(Inputs inputs, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());

    void setMedia(const MediaItems &media);
    void setExcludedIDs(const QSet<QUuid> &excludedIDs);
    void setSelectMode(bool selectMode);
    /// Re-reads every binding and shows what they hold now.
    void refresh();

    void goPrevious();
    void goNext();
    /// Turns the shown item by `delta` degrees clockwise, stored within 0…359.
    void rotate(int delta);
    void toggleSelection();

    int currentRotation() const;
    bool isCurrentSelected() const;
    /// The shown item; `index` must lie within `media`.
    const MediaItem &currentItem() const;

    /// The pieces on screen, for the main view's tests and pictures.
    QString titleText() const;
    bool showsExcludedBadge() const;
    RoundOverlayButton *previousButton() const { return m_previous; }
    RoundOverlayButton *nextButton() const { return m_next; }
    RoundOverlayButton *closeButton() const { return m_close; }
    /// The rotate button; hidden for a video.
    RoundOverlayButton *rotateButton() const { return m_rotate; }
    /// The selection check; hidden outside select mode.
    ViewerCheck *check() const { return m_check; }
    FullsizeImageView *photoView() const { return m_photo; }
    VideoPlayerPanel *videoPanel() const { return m_video; }

protected:
    /// A video's sound ends with the decision to close, not after the fade.
    void aboutToLeave() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildHeader(FrameTicker &ticker);
    void buildMiddle(FrameTicker &ticker);
    void buildRotateRow(FrameTicker &ticker);
    void showContent();
    void placeCheck();
    int index() const;
    bool hasCurrent() const;
    QRect contentPanel() const;

    Inputs m_inputs;
    FrameTicker &m_ticker;

    QLabel *m_kindSymbol = nullptr;
    QLabel *m_title = nullptr;
    ExcludedBadge *m_badge = nullptr;
    RoundOverlayButton *m_close = nullptr;
    RoundOverlayButton *m_previous = nullptr;
    RoundOverlayButton *m_next = nullptr;
    QWidget *m_content = nullptr;
    QPointer<FullsizeImageView> m_photo;
    QPointer<VideoPlayerPanel> m_video;
    ViewerCheck *m_check = nullptr;
    QWidget *m_rotateRow = nullptr;
    RoundOverlayButton *m_rotate = nullptr;
};

} // namespace pomelark
