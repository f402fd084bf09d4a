#pragma once

#include "services/MediaItem.h"
#include "services/Validation.h"

#include <QPointer>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <chrono>

namespace pomelark {

class ContentView;
class PlaybackPrewarmer;

/// The main view's way from a chosen folder to the grid, its reactions to the
/// card leaving and coming back, and the ways home. Works on its view's state;
/// the view forwards its operations of the same names here.
class ImportSession {
public:
    explicit ImportSession(ContentView &view) : m_view(view) {}

    /// How long a run ended by the card's own reads waits for the card watcher
    /// to report the card gone before it validates again, once, trusting the
    /// watcher alone. The system unmounts a pulled card within milliseconds,
    /// but a card reader that finds its card gone only by polling may take a
    /// couple of seconds.
    static constexpr std::chrono::milliseconds cardNoticeWait{5000};

    QCoro::Task<void> pickFolder();
    QCoro::Task<void> runImportSession(QUrl folder);
    void handleCardChange(bool missing);
    void enterGrid(const MediaItems &items, bool startPrewarm);
    void goHome();
    QCoro::Task<void> returnHome();

private:
    /// Empties what the last folder brought: its items, their turns and
    /// exclusions, the selection and every overlay.
    void forgetItems();
    /// The session from the folder on, its validation told of a pull by `signs`.
    QCoro::Task<void> run(QUrl folder, PullSigns signs);
    /// Whether a run that began under `generation` still owns the session.
    static bool current(const QPointer<ContentView> &view, quint64 generation);
    /// Steps of a run after the validation; false when the run was overtaken.
    QCoro::Task<bool> prepareAndWait(QPointer<ContentView> view, quint64 generation, MediaItems valid,
                                     std::chrono::nanoseconds startedAt);
    /// After a run the card ended, waits for the card watcher to say the card
    /// is missing, then leaves the rest to the card's return; validates the
    /// folder again, by the watcher alone, when it has not said so within
    /// cardNoticeWait.
    static QCoro::Task<void> awaitCardNotice(QPointer<ContentView> view, quint64 generation, QUrl folder);
    /// Stops the prewarmer (waiting for its worker to end), then starts it on
    /// `videos`: two workers at once would convert the same videos twice.
    static QCoro::Task<void> restartPrewarmer(QPointer<ContentView> view, MediaItems videos);
    static QCoro::Task<void> stopPrewarmer(QPointer<PlaybackPrewarmer> prewarmer);

    ContentView &m_view;
    /// The last run, by generation, that trusted the watcher alone; 0 when
    /// none or once the card's return validated again. Its result may show the
    /// card going rather than its files.
    quint64 m_resultBeforeNotice = 0;
};

} // namespace pomelark
