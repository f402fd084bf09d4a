#include "app/ImportSession.h"

#include "app/ContentView.h"
#include "app/PreparingPace.h"
#include "app/SessionClock.h"
#include "platform/SystemLog.h"
#include "services/CardWatcher.h"
#include "services/PlaybackPrewarmer.h"

#include <exception>

namespace pomelark {

namespace {

using Screen = SessionState::Screen;

MediaItems ofKind(const MediaItems &items, MediaItem::Kind kind)
{
    MediaItems chosen;
    for (const MediaItem &item : items) {
        if (item.kind == kind)
            chosen.append(item);
    }
    return chosen;
}

QString describe(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &known) {
        return QString::fromUtf8(known.what());
    } catch (...) {
    }
    return QStringLiteral("unknown error");
}

} // namespace

bool ImportSession::current(const QPointer<ContentView> &view, quint64 generation)
{
    return view && view->m_sessionGeneration == generation;
}

QCoro::Task<void> ImportSession::pickFolder()
{
    const auto &services = m_view.m_services;
    if (!services.chooseFolder)
        co_return;
    QPointer<ContentView> view = &m_view;
    FolderPanelRequest request{ContentView::folderPanelMessage(), ContentView::folderPanelPrompt(),
                               services.findCardFolder ? services.findCardFolder() : std::nullopt};
    const std::optional<QUrl> folder = services.chooseFolder(request);
    // The chooser runs its own event loop, in which the window may have closed.
    if (!view || !folder || folder->isEmpty())
        co_return;
    co_await view->runImportSession(*folder);
}

QCoro::Task<void> ImportSession::runImportSession(QUrl folder)
{
    return run(std::move(folder), PullSigns::watcherOrReads);
}

QCoro::Task<void> ImportSession::run(QUrl folder, PullSigns signs)
{
    QPointer<ContentView> view = &m_view;
    const quint64 generation = ++m_view.m_sessionGeneration;
    SessionClock &clock = *m_view.m_clock;

    co_await view->m_playbackPrewarmer->stop();
    if (!current(view, generation))
        co_return;

    view->setFolderURL(folder);
    view->setSourceFolderPath(folder.toLocalFile());
    view->m_cardWatcher->arm(folder);
    view->m_importSession.forgetItems();
    const std::chrono::nanoseconds startedAt = clock.now();
    view->setPreparingStartedAt(clock.wallNow(), startedAt);
    view->setPreparingFinale(false);
    view->setScreen(Screen::validating);

    std::exception_ptr failure;
    bool aborted = false;
    ValidationOutcome outcome;
    try {
        co_await view->m_services.resetWorkingFolders();
        if (!current(view, generation))
            co_return;
        outcome = co_await view->m_services.validate(folder, [view] { return view && view->isCardPresent(); }, signs);
        if (!current(view, generation))
            co_return;
        view->setValidationOutcome(outcome);
        // Every poster and duration is on disk before any screen asks for one.
        const MediaItems videos = ofKind(outcome.valid, MediaItem::Kind::video);
        if (!videos.isEmpty())
            co_await view->m_services.preparePosters(videos);
    } catch (const ValidationAborted &) {
        aborted = true;
    } catch (...) {
        failure = std::current_exception();
    }
    if (!current(view, generation))
        co_return;
    if (aborted) {
        // The card went: the session waits on this screen, under the card-missing
        // screen, until the card comes back or the user goes home.
        co_await awaitCardNotice(view, generation, folder);
        co_return;
    }
    if (signs == PullSigns::watcherOnly)
        view->m_importSession.m_resultBeforeNotice = generation;
    if (failure) {
        SystemLog::write(QStringLiteral("[ContentView] runImportSession FAILED: ") + describe(failure));
        view->setValidationOutcome(ValidationOutcome{});
        view->setScreen(Screen::validationResult);
        co_return;
    }

    if (outcome.valid.isEmpty() || !outcome.failed.isEmpty()) {
        view->setScreen(Screen::validationResult);
        co_return;
    }
    if (!co_await prepareAndWait(view, generation, outcome.valid, startedAt))
        co_return;
    view->enterGrid(outcome.valid, false);
    view->setPreparingFinale(false);
}

QCoro::Task<bool> ImportSession::prepareAndWait(QPointer<ContentView> view, quint64 generation, MediaItems valid,
                                                std::chrono::nanoseconds startedAt)
{
    SessionClock &clock = *view->m_clock;
    const MediaItems videos = ofKind(valid, MediaItem::Kind::video);
    co_await restartPrewarmer(view, videos);
    if (!current(view, generation))
        co_return false;

    while (!PreparingPace::waitIsOver(clock.now() - startedAt, !videos.isEmpty(),
                                      PreparingPace::settled(view->m_playbackPrewarmer->states()))) {
        co_await clock.sleep(PreparingPace::poll);
        if (!current(view, generation))
            co_return false;
    }

    // The finale starts where the preparing screen changes its caption.
    const std::chrono::nanoseconds rest = PreparingPace::untilCaptionBoundary(clock.now() - startedAt);
    if (rest.count() > 0) {
        co_await clock.sleep(rest);
        if (!current(view, generation))
            co_return false;
    }
    view->setPreparingFinale(true);
    co_await clock.sleep(PreparingPace::finale);
    co_return current(view, generation);
}

QCoro::Task<void> ImportSession::awaitCardNotice(QPointer<ContentView> view, quint64 generation, QUrl folder)
{
    // The card's own reads may have ended the run before the system unmounted
    // it. Once the watcher hears of that, the card-missing screen and the
    // card's return take over; a card it never reports gone is still here, and
    // its files fail on their own: the next run lists them.
    SessionClock &clock = *view->m_clock;
    for (std::chrono::nanoseconds waited{0}; waited < cardNoticeWait; waited += PreparingPace::poll) {
        if (!current(view, generation) || view->isCardMissing())
            co_return;
        co_await clock.sleep(PreparingPace::poll);
    }
    if (!current(view, generation) || view->isCardMissing())
        co_return;
    ContentView *again = view;
    view->spawnMainActorTask(
        [again, folder] { return again->m_importSession.run(folder, PullSigns::watcherOnly); });
}

QCoro::Task<void> ImportSession::restartPrewarmer(QPointer<ContentView> view, MediaItems videos)
{
    if (!view)
        co_return;
    QPointer<PlaybackPrewarmer> prewarmer = view->m_playbackPrewarmer;
    co_await prewarmer->stop();
    if (prewarmer)
        prewarmer->start(videos);
}

QCoro::Task<void> ImportSession::stopPrewarmer(QPointer<PlaybackPrewarmer> prewarmer)
{
    if (prewarmer)
        co_await prewarmer->stop();
}

void ImportSession::handleCardChange(bool missing)
{
    QPointer<PlaybackPrewarmer> prewarmer = m_view.m_playbackPrewarmer;
    if (missing) {
        m_view.spawnMainActorTask([prewarmer] { return stopPrewarmer(prewarmer); });
        return;
    }
    // The run that trusted the watcher alone, which heard of the pull only
    // later, listed the card going as much as its files: its result is no
    // better than an interrupted run's.
    const bool resultBeforeNotice = m_view.screen() == Screen::validationResult
                                    && m_resultBeforeNotice == m_view.m_sessionGeneration;
    if (m_view.screen() == Screen::validating || resultBeforeNotice) {
        // The interrupted run's partial results are gone; start over on the same folder.
        m_resultBeforeNotice = 0;
        if (const std::optional<QUrl> folder = m_view.folderURL()) {
            ContentView *view = &m_view;
            const QUrl again = *folder;
            m_view.spawnMainActorTask([view, again] { return view->runImportSession(again); });
        }
        return;
    }
    const MediaItems videos = m_view.videos();
    QPointer<ContentView> view = &m_view;
    m_view.spawnMainActorTask([view, videos] { return restartPrewarmer(view, videos); });
}

void ImportSession::enterGrid(const MediaItems &items, bool startPrewarm)
{
    m_view.setPhotos(ofKind(items, MediaItem::Kind::photo));
    m_view.setVideos(ofKind(items, MediaItem::Kind::video));
    m_view.setScreen(Screen::grid);
    if (!startPrewarm)
        return;
    PlaybackPrewarmer *prewarmer = m_view.m_playbackPrewarmer;
    if (!prewarmer->isWorking()) {
        prewarmer->start(m_view.videos());
        return;
    }
    QPointer<ContentView> view = &m_view;
    const MediaItems videos = m_view.videos();
    m_view.spawnMainActorTask([view, videos] { return restartPrewarmer(view, videos); });
}

void ImportSession::forgetItems()
{
    m_view.setValidationOutcome(std::nullopt);
    m_view.setPhotos({});
    m_view.setVideos({});
    m_view.setRotations({});
    m_view.setExcludedIDs({});
    m_view.endSelectMode();
    m_view.closeOverlays();
}

void ImportSession::goHome()
{
    ++m_view.m_sessionGeneration;
    m_view.setFolderURL(std::nullopt);
    m_view.setSourceFolderPath({});
    forgetItems();
    m_view.setScreen(Screen::welcome);
    // Disarming last: with the card out it publishes "present", and the card
    // hook must see the welcome screen, not the old session it would restart.
    m_view.m_cardWatcher->disarm();
}

QCoro::Task<void> ImportSession::returnHome()
{
    QPointer<ContentView> view = &m_view;
    co_await view->m_playbackPrewarmer->stop();
    if (!view)
        co_return;
    co_await view->m_services.resetWorkingFolders();
    if (view)
        view->goHome();
}

} // namespace pomelark
