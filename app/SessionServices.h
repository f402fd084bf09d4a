#pragma once

#include "app/SessionDefaults.h"
#include "services/BestShotGroup.h"
#include "services/BoundedAnalysis.h"
#include "services/ExportSettings.h"
#include "services/MediaItem.h"
#include "services/Validation.h"

#include <QHash>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <qcoro/qcorotask.h>

#include <functional>
#include <optional>

namespace pomelark {

class ExportCoordinator;
class MascotPauser;
class PlaybackPreparation;
class SessionClock;
class VolumeMonitor;

/// What the folder chooser is asked to show.
struct FolderPanelRequest {
    QString message;                  ///< the line above the folder list
    QString prompt;                   ///< the confirm button's title
    std::optional<QUrl> directory;    ///< where to start; none: the chooser's own default
};

/// Everything the session controller calls outside itself, as plain functions
/// and objects so tests can stand in for any of them. `standard()` gives the
/// app's real services (their shared instances) and leaves the folder chooser
/// unset, because choosing a folder needs a dialog and this layer has none.
struct SessionServices {
    /// Runs the folder chooser modally: one folder, no files. None when the user
    /// cancels. Unset: no folder is ever chosen.
    std::function<std::optional<QUrl>(const FolderPanelRequest &)> chooseFolder;
    /// The camera card's folder to start the chooser in, if a card is mounted.
    std::function<std::optional<QUrl>()> findCardFolder;
    /// Empties the working folders and the thumbnail memory for a new session. Never fails.
    std::function<QCoro::Task<void>()> resetWorkingFolders;
    /// Validates every file of a folder, asking before each file whether the card
    /// is still there, and after a failed file by the signs given. Throws
    /// ValidationAborted when it is not, other errors when the folder cannot be read.
    std::function<QCoro::Task<ValidationOutcome>(QUrl, std::function<bool()>, PullSigns)> validate;
    /// Makes sure every video's poster and duration are cached. Never fails.
    std::function<QCoro::Task<void>(MediaItems)> preparePosters;
    /// Suggested clockwise turns by photo URL. Never fails.
    std::function<QCoro::Task<QHash<QUrl, int>>(MediaItems, AnalysisProgress)> analyzeOrientation;
    /// Groups of similar photos with a keep flag each. Never fails.
    std::function<QCoro::Task<QList<BestShotGroup>>(MediaItems, AnalysisProgress)> findBestShotGroups;
    /// Runs the send on the coordinator; returns when it has ended. Never fails.
    std::function<QCoro::Task<void>(ExportCoordinator &, MediaItems, ExportSettings, QHash<QUuid, int>,
                                    std::function<bool()>)>
        exportItems;

    /// What the owned playback prewarmer prepares with; null: the shared playback service.
    PlaybackPreparation *playbackPreparation = nullptr;
    /// What the owned card watcher watches through; null: the real mount table.
    VolumeMonitor *volumeMonitor = nullptr;
    /// The application activity the main view observes; null: the shared pauser.
    MascotPauser *activity = nullptr;
    /// The session's pacing clock; null: the steady clock.
    SessionClock *clock = nullptr;
    /// The stored choices.
    SessionDefaults defaults;

    /// The app's real services, with no folder chooser.
    static SessionServices standard();
};

} // namespace pomelark
