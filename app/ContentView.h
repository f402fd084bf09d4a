#pragma once

#include "app/ImportSession.h"
#include "app/SessionServices.h"
#include "app/SessionState.h"
#include "app/ToolFlows.h"
#include "look/Binding.h"
#include "look/MascotPauser.h"
#include "services/CardWatcher.h"
#include "services/ExportCoordinator.h"
#include "services/ExportSettings.h"
#include "services/PlaybackPrewarmer.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <functional>

namespace pomelark {

class SessionClock;

/// The session controller of the app's one window: owns the whole session
/// (the state it inherits, the export coordinator, the playback prewarmer and
/// the card watcher) and every operation that changes it. It shows nothing;
/// the main view builds the screens from its state and hands them these
/// operations and bindings as callbacks. Main thread only.
///
/// It follows the card watcher itself: every later change of `cardMissing`
/// calls `handleCardChange`, never the value seen at construction.
class ContentView : public SessionState {
    Q_OBJECT
    Q_PROPERTY(pomelark::ExportCoordinator *exportCoordinator READ exportCoordinator CONSTANT)
    Q_PROPERTY(pomelark::PlaybackPrewarmer *playbackPrewarmer READ playbackPrewarmer CONSTANT)
    Q_PROPERTY(pomelark::CardWatcher *cardWatcher READ cardWatcher CONSTANT)
    Q_PROPERTY(pomelark::MascotPauser *activity READ activity CONSTANT)

public:
    /// Every field at its initial value: the welcome screen, nothing chosen.
    explicit ContentView(SessionServices services = SessionServices::standard(), QObject *parent = nullptr);
    ~ContentView() override;

    // Owned and observed objects, alive as long as the controller.
    ExportCoordinator *exportCoordinator() const { return m_exportCoordinator; }
    PlaybackPrewarmer *playbackPrewarmer() const { return m_playbackPrewarmer; }
    CardWatcher *cardWatcher() const { return m_cardWatcher; }
    MascotPauser *activity() const { return m_activity; }

    // Stored choices, read afresh on every call.
    /// "keep" or "now" as stored (any other text counts as keep).
    QString dateMode() const { return m_services.defaults.dateMode(); }
    /// "size" or "quality" as stored (any other text counts as size).
    QString quality() const { return m_services.defaults.quality(); }
    bool autoCleanup() const { return m_services.defaults.autoCleanup(); }
    /// `now` only when the stored date mode is exactly "now".
    DateMode dateModeChoice() const { return m_services.defaults.dateModeChoice(); }

    // Screens and selection.
    void openSettings(Screen returnTo);
    void closeSettings();
    void enterSelectMode();
    void toggleSelectMode();
    void finishSelecting();
    void clearSelection();
    void selectAll();
    void openViewer(int at);
    void closeViewer();
    void setShowingSendConfirm(bool showing);
    void setShowingExcludeConfirm(bool showing);
    void setShowingIncludeConfirm(bool showing);
    bool isCardPresent() const;
    bool isCardMissing() const;

    /// Runs `operation` from the event loop as a task on the main thread that no
    /// one keeps; returns at once. Dropped when the controller is gone before it
    /// starts. `operation` must only call and return a coroutine (a coroutine
    /// lambda's captures would die before the coroutine ends).
    void spawnMainActorTask(std::function<QCoro::Task<void>()> operation);

    // Bindings for the screens. Each reads and writes this controller; after
    // the controller is gone, reads give the empty value and writes do nothing.
    /// Reads `viewerIndex`, or 0 when it is unset; writes `viewerIndex`.
    Binding<int> viewerIndexBinding();
    Binding<IDSet> selectedIDsBinding();
    /// Writes are brought into 0…359.
    Binding<Rotations> rotationsBinding();
    Binding<RotateSuggestions> rotateSuggestionsBinding();
    Binding<BestShotGroups> bestShotGroupsBinding();
    /// Reads whether an alert is raised; writing false dismisses it, true does nothing.
    Binding<bool> infoAlertPresentedBinding();

    /// The raised alert's title and message, or empty texts when none is raised.
    QString infoAlertTitle() const;
    QString infoAlertMessage() const;
    static QString title(InfoAlert alert);
    static QString message(InfoAlert alert);

    // The import session.
    /// Asks for a folder (starting in the card's DCIM folder when a card is
    /// mounted) and runs a session on it; a cancelled choice changes nothing.
    QCoro::Task<void> pickFolder();
    /// One whole session: reset, validate, prepare posters, then the result
    /// screen or the paced preparing wait and the grid. Never fails: a pulled
    /// card leaves it waiting on `validating` (and validating again when the card
    /// watcher never reports gone the card whose reads ended the run); any other
    /// failure shows an empty validation result. A run overtaken by a newer session or by going home
    /// stops at its next step and changes nothing more.
    QCoro::Task<void> runImportSession(QUrl folder);
    void handleCardChange(bool missing);
    void enterGrid(const MediaItems &items, bool startPrewarm);
    /// Back to the welcome screen at once: forgets the session, disarms the
    /// card watcher; leaves playback preparation and the working folders alone.
    void goHome();
    /// Stops playback preparation, empties the working folders, then goes home.
    QCoro::Task<void> returnHome();
    void backToGrid();

    // Tools, selection and send.
    void autoRotateTapped();
    QCoro::Task<void> runAutoRotate();
    void applyRotations();
    void cancelRotate();
    void bestShotTapped();
    QCoro::Task<void> runBestShot();
    void applyBestShot();
    void cancelBestShot();
    void applyExclude();
    void applyInclude();
    void confirmSend();
    /// Ignored while a send runs.
    void startSend();
    QCoro::Task<void> runSend(MediaItems items, ExportSettings settings);

    // Texts the main view shows for this controller.
    static QString autoRotateProgressTitle();
    static QString bestShotProgressTitle();
    static QString progressCountText(int done, int total);
    static QString folderPanelMessage();
    static QString folderPanelPrompt();

private:
    friend class ImportSession;
    friend class ToolFlows;

    SessionServices m_services;
    SessionClock *m_clock;
    ExportCoordinator *m_exportCoordinator;
    PlaybackPrewarmer *m_playbackPrewarmer;
    CardWatcher *m_cardWatcher;
    MascotPauser *m_activity;
    /// Bumped by every new session and by going home; work started under an
    /// older number drops its results.
    quint64 m_sessionGeneration = 0;
    ImportSession m_importSession{*this};
    ToolFlows m_toolFlows{*this};
};

} // namespace pomelark
