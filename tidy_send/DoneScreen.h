#pragma once

#include "look/AnimatedValue.h"
#include "platform/PhotoLibrary.h"
#include "services/ExportCoordinator.h"
#include "tidy_send/SendScreenFrame.h"

#include <QUrl>

#include <functional>
#include <optional>

namespace pomelark {

class SymbolView;

/// The full-window screen that ends a send. After a finished send it pops in a
/// check mark, says everything is in the Photos folder, lists how many photos and
/// videos went in and how many items failed, and offers "Back to start". When the
/// Photos folder could not be written it says so, offers to open the Pictures
/// folder, and "Back to grid". It changes nothing itself: leaving goes through
/// the two callbacks.
class DoneScreen : public SendScreenFrame {
    Q_OBJECT
public:
    /// Which layout to draw, with the counts of a finished send.
    struct Mode {
        enum class Kind { success, permissionDenied };

        Kind kind = Kind::success;
        qint64 photos = 0; ///< success: photos added to the library
        qint64 videos = 0; ///< success: videos added
        qint64 failed = 0; ///< success: items that were not sent

        static Mode success(qint64 photos, qint64 videos, qint64 failed)
        {
            return {Kind::success, photos, videos, failed};
        }
        static Mode permissionDenied() { return {Kind::permissionDenied}; }

        /// The mode for an export's phase: `finished` gives success with its counts
        /// (failed = the number of failed items), `permissionDenied` gives
        /// permissionDenied, any other phase nothing (no screen to show).
        static std::optional<Mode> fromPhase(const ExportCoordinator::Phase &phase);

        friend bool operator==(const Mode &, const Mode &) = default;
    };

    struct Inputs {
        Mode mode;
        std::function<void()> onRestart;    ///< "Back to start"
        std::function<void()> onBackToGrid; ///< "Back to grid"
        /// The library the send went into, whose folders the texts name.
        QString libraryRoot = PhotoLibrary::defaultRoot();
    };

    /// Opens a folder in the desktop's file manager; false when it could not.
    using FolderOpener = std::function<bool(const QUrl &folder)>;

    explicit DoneScreen(Inputs inputs, QWidget *parent = nullptr, FolderOpener openFolder = openWithDesktop,
                        FrameTicker &ticker = FrameTicker::shared());

    /// Hands the folder to the desktop (QDesktopServices).
    static bool openWithDesktop(const QUrl &folder);

    /// The folder "Open Pictures Folder" shows: the Photos library's folder, or
    /// when it does not exist (yet) the nearest folder above it that does. Empty
    /// when none exists.
    static QString folderToOpen(const QString &libraryRoot);

    /// The action of "Open Pictures Folder" (named after the folder it opens).
    /// Nothing happens, and nothing is reported, when no folder exists or the
    /// desktop cannot open it.
    void openPicturesFolder();

    /// Replays the pop of the success check mark: from nothing to full size on the
    /// shared spring, 0.05 s from now. The circle behind it stands still.
    void popCheck();

    const Mode &mode() const { return m_inputs.mode; }
    /// The check mark's scale right now (0 before it pops).
    qreal checkScale() const { return m_checkScale.value(); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildSuccess();
    void buildPermissionDenied();
    QWidget *buildStatsCard();

    Inputs m_inputs;
    FolderOpener m_openFolder;
    AnimatedValue m_checkScale;
    SymbolView *m_check = nullptr;
};

} // namespace pomelark
