#include "SessionHarness.h"

#include "app/PreparingPace.h"
#include "platform/SystemLog.h"
#include "services/ImportService.h"
#include "support/AsyncTest.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

using namespace pomelark;
using namespace pomelark::test;
using namespace std::chrono_literals;
using Screen = ContentView::Screen;
using State = PlaybackPrewarmer::State;

namespace {

/// Records the clock's time at the moments the preparing screen matters.
struct Timeline {
    Timeline(ContentView &view, FakeSessionClock &clock)
    {
        QObject::connect(&view, &SessionState::preparingFinaleChanged, &context, [&view, &clock, this] {
            if (view.preparingFinale())
                finaleAt.append(clock.seconds());
        });
        QObject::connect(&view, &SessionState::screenChanged, &context, [&view, &clock, this] {
            if (view.screen() == Screen::grid) {
                gridAt.append(clock.seconds());
                gridPhotos.append(view.photos());
            }
        });
    }
    QObject context;
    QList<double> finaleAt;
    QList<double> gridAt;
    QList<MediaItems> gridPhotos;
};

class ImportSessionFlow : public SessionHarness {
protected:
    /// Runs a session whose card is pulled after its first file was checked.
    void runSessionPulledAfterItsFirstFile()
    {
        betweenFiles = std::make_shared<SharedOutcome<bool>>();
        awaitTask([this]() -> QCoro::Task<void> {
            auto first = view->runImportSession(cardFolder());
            pullCard();
            betweenFiles->setValue(true);
            co_await std::move(first);
        }());
    }
};

struct WaitCase {
    std::optional<std::chrono::milliseconds> settles;   ///< when the video's copy is ready; none: never
    double finale;
    double grid;
};

class PreparingWait : public SessionHarness, public ::testing::WithParamInterface<WaitCase> {};

/// When the watcher hears of a card whose reads already failed: after a while, or never.
class CardGoingBeforeItsUnmount : public SessionHarness,
                                  public ::testing::WithParamInterface<std::optional<std::chrono::milliseconds>> {};

} // namespace

TEST(PreparingPace, WaitsAtLeastTwoSecondsAndAtMostFiveForVideos)
{
    EXPECT_FALSE(PreparingPace::waitIsOver(1999ms, false, true));
    EXPECT_TRUE(PreparingPace::waitIsOver(2000ms, false, false));
    EXPECT_FALSE(PreparingPace::waitIsOver(4900ms, true, false));
    EXPECT_TRUE(PreparingPace::waitIsOver(2100ms, true, true));
    EXPECT_TRUE(PreparingPace::waitIsOver(5000ms, true, false));

    EXPECT_TRUE(PreparingPace::settled({}));
    EXPECT_TRUE(PreparingPace::settled({{QUrl(QStringLiteral("file:///a")), State::ready},
                                        {QUrl(QStringLiteral("file:///b")), State::failed}}));
    EXPECT_FALSE(PreparingPace::settled({{QUrl(QStringLiteral("file:///a")), State::ready},
                                         {QUrl(QStringLiteral("file:///b")), State::prewarming}}));
}

TEST(PreparingPace, FinaleWaitsForTheCaptionBoundaryUnlessItIsCloseEnough)
{
    const std::pair<std::chrono::milliseconds, std::chrono::milliseconds> cases[] = {
        {2000ms, 800ms}, {2740ms, 60ms}, {2760ms, 0ms}, {2800ms, 0ms}, {3000ms, 1200ms}, {5000ms, 600ms},
        {5600ms, 0ms},   {0ms, 0ms},
    };
    for (const auto &[elapsed, expected] : cases)
        EXPECT_EQ(PreparingPace::untilCaptionBoundary(elapsed), expected) << elapsed.count();
}

TEST_F(ImportSessionFlow, ACleanPhotoFolderHoldsThePreparingScreenOnTheCaptionGrid)
{
    const MediaItem a = photo(QStringLiteral("a.jpg")), b = photo(QStringLiteral("b.jpg"));
    outcomes = {{{a, b}, {}, 2}};
    Timeline timeline(*view, clock);
    runSession();

    EXPECT_EQ(calls.validated, QList<QUrl>{cardFolder()});
    EXPECT_EQ(calls.workingFolderResets, 1);
    EXPECT_TRUE(calls.postersPrepared.isEmpty());
    EXPECT_EQ(timeline.finaleAt, QList<double>{2.8});
    EXPECT_EQ(timeline.gridAt, QList<double>{4.2});
    EXPECT_FALSE(view->preparingFinale());
    EXPECT_EQ(view->screen(), Screen::grid);
    ASSERT_EQ(view->photos().size(), 2);
    EXPECT_EQ(view->photos()[0].url, a.url);
    EXPECT_EQ(view->preparingStartedAt(), FakeSessionClock().wallNow());
}

TEST_P(PreparingWait, VideosHoldTheWaitUntilTheirCopiesSettleOrFiveSeconds)
{
    const WaitCase c = GetParam();
    const MediaItem p = photo(QStringLiteral("p.jpg")), v = video(QStringLiteral("v.mov"));
    outcomes = {{{p, v}, {}, 2}};
    if (c.settles)
        clock.at(*c.settles, [this, v] { preparation.finish(v.url, true); });
    Timeline timeline(*view, clock);
    runSession();
    ASSERT_EQ(calls.postersPrepared.size(), 1);
    EXPECT_EQ(calls.postersPrepared[0].size(), 1);
    EXPECT_EQ(timeline.finaleAt, QList<double>{c.finale});
    EXPECT_EQ(timeline.gridAt, QList<double>{c.grid});
    // Preparation goes on behind the grid.
    EXPECT_EQ(view->playbackPrewarmer()->state(v.url), c.settles ? State::ready : State::prewarming);
}

INSTANTIATE_TEST_SUITE_P(ImportSession, PreparingWait,
                         ::testing::Values(WaitCase{std::nullopt, 5.6, 7.0}, WaitCase{2950ms, 4.2, 5.6},
                                           WaitCase{1000ms, 2.8, 4.2}),
                         [](const ::testing::TestParamInfo<WaitCase> &info) {
                             return info.param.settles ? "SettlingAt" + std::to_string(info.param.settles->count()) + "ms"
                                                       : std::string("NeverSettling");
                         });

TEST_F(ImportSessionFlow, FailuresOrNothingValidStopAtTheValidationResult)
{
    const MediaItem good = photo(QStringLiteral("good.jpg")), clip = video(QStringLiteral("clip.mov"));
    const ValidationFailure bad{QUuid::createUuid(), photo(QStringLiteral("bad.jpg")).url,
                                ValidationFailure::Reason::corruptPhoto};
    outcomes = {{{good, clip}, {bad}, 3}};
    runSession();
    EXPECT_EQ(view->screen(), Screen::validationResult);
    ASSERT_TRUE(view->validationOutcome());
    EXPECT_EQ(view->validationOutcome()->failed.size(), 1);
    EXPECT_FALSE(view->playbackPrewarmer()->isWorking());

    // Going on with the valid files starts playback preparation at once.
    view->enterGrid(view->validationOutcome()->valid, true);
    EXPECT_EQ(view->screen(), Screen::grid);
    EXPECT_EQ(view->playbackPrewarmer()->states().keys(), QList<QUrl>{clip.url});

    outcomes = {{{}, {}, 0}};
    runSession();
    EXPECT_EQ(view->screen(), Screen::validationResult);
    EXPECT_TRUE(view->validationOutcome()->valid.isEmpty());
}

TEST_F(ImportSessionFlow, AnUnreadableFolderIsLoggedAndShowsAnEmptyResult)
{
    SystemLog::Capture log;
    validationError = std::make_exception_ptr(ScanError(QStringLiteral("/gone")));
    runSession();
    EXPECT_EQ(view->screen(), Screen::validationResult);
    ASSERT_TRUE(view->validationOutcome());
    EXPECT_TRUE(view->validationOutcome()->valid.isEmpty());
    EXPECT_TRUE(view->validationOutcome()->failed.isEmpty());
    EXPECT_EQ(view->validationOutcome()->totalScanned, 0);
    ASSERT_FALSE(log.lines().isEmpty());
    EXPECT_TRUE(log.lines().last().startsWith(QStringLiteral("[ContentView] runImportSession FAILED: ")));
}

TEST_F(ImportSessionFlow, ANewFolderForgetsTheLastSessionBeforeAnythingIsShown)
{
    const MediaItem a = photo(QStringLiteral("a.jpg"));
    view->enterGrid({a}, false);
    view->selectAll();
    view->rotationsBinding().set({{a.id, 90}});
    view->applyExclude();
    view->selectAll();
    outcomes = {{{photo(QStringLiteral("b.jpg"))}, {}, 1}};

    QList<Screen> screens;
    QObject::connect(view.get(), &SessionState::screenChanged, view.get(), [&] {
        screens.append(view->screen());
        if (view->screen() == Screen::validating) {
            EXPECT_TRUE(view->rotations().isEmpty());
            EXPECT_TRUE(view->excludedIDs().isEmpty());
            EXPECT_TRUE(view->selectedIDs().isEmpty());
            EXPECT_FALSE(view->selectMode());
            EXPECT_TRUE(view->photos().isEmpty());
            EXPECT_EQ(view->sourceFolderPath(), cardFolder().toLocalFile());
            EXPECT_EQ(view->cardWatcher()->volumePath(), m_cardPath);
        }
    });
    runSession();
    EXPECT_EQ(screens, (QList<Screen>{Screen::validating, Screen::grid}));
}

TEST_F(ImportSessionFlow, ThePickerStartsOnTheCardAndACancelChangesNothing)
{
    view->enterGrid({photo(QStringLiteral("a.jpg"))}, false);
    awaitTask(view->pickFolder());
    ASSERT_EQ(calls.panels.size(), 1);
    EXPECT_EQ(calls.panels[0].directory, cardFolder());
    EXPECT_EQ(calls.panels[0].message, QStringLiteral("Choose a folder with JPG / AVI files"));
    EXPECT_EQ(calls.panels[0].prompt, QStringLiteral("Choose"));
    EXPECT_EQ(view->screen(), Screen::grid);
    EXPECT_TRUE(calls.validated.isEmpty());

    chosenFolder = cardFolder();
    outcomes = {{{photo(QStringLiteral("b.jpg"))}, {}, 1}};
    awaitTask(view->pickFolder());
    EXPECT_EQ(calls.validated, QList<QUrl>{cardFolder()});
    EXPECT_EQ(view->screen(), Screen::grid);
}

TEST_F(ImportSessionFlow, ACardPulledDuringValidationRestartsTheSessionWhenItReturns)
{
    outcomes = {{{photo(QStringLiteral("a.jpg")), photo(QStringLiteral("b.jpg"))}, {}, 2}};
    runSessionPulledAfterItsFirstFile();
    // The run ended quietly: still validating, under the card-missing screen.
    EXPECT_EQ(view->screen(), Screen::validating);
    EXPECT_TRUE(view->cardWatcher()->cardMissing());
    EXPECT_FALSE(view->validationOutcome());

    betweenFiles.reset();
    Timeline timeline(*view, clock);
    insertCard();
    ASSERT_TRUE(settle([&] { return view->screen() == Screen::grid; }));
    EXPECT_EQ(calls.validated, (QList<QUrl>{cardFolder(), cardFolder()}));
    EXPECT_EQ(calls.workingFolderResets, 2);
    EXPECT_EQ(view->photos().size(), 2);
    EXPECT_EQ(timeline.gridAt.size(), 1);
}

TEST_P(CardGoingBeforeItsUnmount, TheAbortedRunWaitsForTheWatcherThenValidatesAgain)
{
    const std::optional<std::chrono::milliseconds> noticedAt = GetParam();
    outcomes = {{{photo(QStringLiteral("a.jpg")), photo(QStringLiteral("b.jpg"))}, {}, 2}};
    cardStopsAnsweringAt = 1;
    if (noticedAt)
        clock.at(*noticedAt, [this] { pullCard(); });
    Timeline timeline(*view, clock);
    runSession();
    EXPECT_EQ(view->screen(), Screen::validating);
    EXPECT_FALSE(view->validationOutcome());
    if (noticedAt) {
        // Under the card-missing screen until the card comes back.
        EXPECT_TRUE(view->cardWatcher()->cardMissing());
        EXPECT_EQ(calls.validated.size(), 1);
        insertCard();
    }
    ASSERT_TRUE(settle([&] { return view->screen() == Screen::grid; }));
    EXPECT_EQ(calls.validated.size(), 2);
    EXPECT_EQ(view->photos().size(), 2);
    if (!noticedAt) {
        // A card the watcher never reports gone is validated again once it had
        // its time, paced from the new run's start.
        const double again = std::chrono::duration<double>(ImportSession::cardNoticeWait).count();
        EXPECT_EQ(timeline.gridAt, QList<double>{again + 4.2});
        // Once, and then trusting the watcher alone: it cannot go round again.
        EXPECT_EQ(calls.validatedWith, (QList<PullSigns>{PullSigns::watcherOrReads, PullSigns::watcherOnly}));
    }
}

TEST_F(ImportSessionFlow, FilesFailingEveryReadOnAFolderStillThereAreListedNotValidatedWithoutEnd)
{
    // A bad patch of a disk that stays: its first files answer every read with
    // EIO, as a card going does, while the folder and the watcher stay.
    ValidationService real;
    validation = &real;
    const QString failsReads = fileFailingEveryRead();
    const QString dcim = cardFolder().toLocalFile();
    for (int i = 1; i <= 3; ++i)
        makeLink(dcim + QStringLiteral("/%1-bad.jpg").arg(i), failsReads);
    const auto reasons = [this] {
        QList<ValidationFailure::Reason> reasons;
        for (const ValidationFailure &failure : view->validationOutcome()->failed)
            reasons.append(failure.reason);
        return reasons;
    };
    const QList<ValidationFailure::Reason> threeUnreadable(3, ValidationFailure::Reason::unreadable);

    // Good files after them show the card answers: listed at once.
    for (int i = 1; i <= 5; ++i)
        makeJpeg(dcim + QStringLiteral("/%1-good.jpg").arg(i));
    runSession();
    ASSERT_TRUE(settle([&] { return view->screen() == Screen::validationResult; }));
    EXPECT_EQ(reasons(), threeUnreadable);
    EXPECT_EQ(view->validationOutcome()->valid.size(), 5);
    EXPECT_EQ(calls.validated.size(), 1);

    // With nothing left that reads, the run cannot tell a bad patch from a card
    // going: it waits for the watcher once, validates once more, and shows that.
    for (int i = 1; i <= 5; ++i)
        QFile::remove(dcim + QStringLiteral("/%1-good.jpg").arg(i));
    const double startedAt = clock.seconds();
    runSession();
    ASSERT_TRUE(settle([&] { return view->screen() == Screen::validationResult; }));
    EXPECT_EQ(reasons(), threeUnreadable);
    EXPECT_TRUE(view->validationOutcome()->valid.isEmpty());
    EXPECT_EQ(calls.validated.size(), 3);
    EXPECT_EQ(clock.seconds() - startedAt, std::chrono::duration<double>(ImportSession::cardNoticeWait).count());
}

TEST_F(ImportSessionFlow, ACardTheWatcherReportsGoneOnlyAfterItsLastRunIsValidatedAgainOnItsReturn)
{
    ValidationService real;
    validation = &real;
    const QString failsReads = fileFailingEveryRead();
    const QString dcim = cardFolder().toLocalFile();
    const QString aside = m_cardPath + QStringLiteral("/aside");
    const QStringList good{QStringLiteral("1.jpg"), QStringLiteral("2.jpg"), QStringLiteral("3.jpg")};
    const QString damaged = QStringLiteral("4-damaged.jpg");

    // Its medium gone, the card fails every read; with the mount still there,
    // the last run lists every file, and with the mount gone, finds none.
    for (const bool mountGone : {false, true}) {
        SCOPED_TRACE(mountGone ? "mount gone" : "mount still there");
        for (const QString &name : good + QStringList{damaged}) {
            QFile::remove(dcim + u'/' + name);
            makeLink(dcim + u'/' + name, failsReads);
        }
        if (mountGone)
            clock.at(clock.now() + ImportSession::cardNoticeWait / 2, [&] { QDir().rename(dcim, aside); });
        const qsizetype before = calls.validated.size();
        runSession();
        ASSERT_TRUE(settle([&] {
            return calls.validated.size() == before + 2 && view->screen() == Screen::validationResult;
        }));
        ASSERT_EQ(view->validationOutcome()->totalScanned, mountGone ? 0 : 4);
        ASSERT_TRUE(view->validationOutcome()->valid.isEmpty());

        // The watcher hears of it only now; the card comes back whole.
        pullCard();
        if (mountGone)
            QDir().rename(aside, dcim);
        for (const QString &name : good) {
            QFile::remove(dcim + u'/' + name);
            makeJpeg(dcim + u'/' + name);
        }
        QFile::remove(dcim + u'/' + damaged);
        makeTextFile(dcim + u'/' + damaged);
        insertCard();
        ASSERT_TRUE(settle([&] { return view->validationOutcome() && view->validationOutcome()->valid.size() == 3; }));
        EXPECT_EQ(view->screen(), Screen::validationResult);
        ASSERT_EQ(view->validationOutcome()->failed.size(), 1);
        EXPECT_EQ(view->validationOutcome()->failed[0].reason, ValidationFailure::Reason::corruptPhoto);
        EXPECT_EQ(calls.validatedWith.mid(before),
                  (QList<PullSigns>{PullSigns::watcherOrReads, PullSigns::watcherOnly, PullSigns::watcherOrReads}));

        // That result is the card's own: pulling and returning it again leaves it.
        pullCard();
        insertCard();
        drainEvents();
        EXPECT_EQ(calls.validated.size(), before + 3);
        EXPECT_EQ(view->screen(), Screen::validationResult);
    }
}

INSTANTIATE_TEST_SUITE_P(ImportSession, CardGoingBeforeItsUnmount,
                         ::testing::Values(std::optional<std::chrono::milliseconds>(40ms), std::nullopt),
                         [](const auto &info) { return info.param ? std::string("NoticedLater") : std::string("NeverNoticed"); });

TEST_F(ImportSessionFlow, ACardRestartDuringThePreparingWaitShowsOnlyTheNewRunsItems)
{
    outcomes = {{{photo(QStringLiteral("a.jpg"))}, {}, 1}};
    clock.at(1000ms, [this] { pullCard(); });
    clock.at(1500ms, [this] { insertCard(); });
    Timeline timeline(*view, clock);
    runSession();   // the first run, overtaken at 1.5 s
    ASSERT_TRUE(settle([&] { return !timeline.gridAt.isEmpty(); }));
    ASSERT_EQ(calls.validated.size(), 2);
    // Only the second run reaches the grid, paced from its own start.
    EXPECT_EQ(timeline.gridAt, QList<double>{5.7});
    ASSERT_EQ(timeline.gridPhotos.size(), 1);
    EXPECT_EQ(timeline.gridPhotos[0], view->photos());
}

TEST_F(ImportSessionFlow, GoingHomeDuringTheWaitKeepsTheWelcomeScreen)
{
    outcomes = {{{photo(QStringLiteral("a.jpg"))}, {}, 1}};
    clock.at(1000ms, [this] { view->goHome(); });
    runSession();
    EXPECT_EQ(view->screen(), Screen::welcome);
    EXPECT_TRUE(view->photos().isEmpty());
    EXPECT_FALSE(view->folderURL());
}

TEST_F(ImportSessionFlow, BackToStartWhileTheCardIsOutStaysOnWelcome)
{
    // From validation: the card hook must not start the pulled card's session again.
    outcomes = {{{photo(QStringLiteral("a.jpg")), photo(QStringLiteral("b.jpg"))}, {}, 2}};
    runSessionPulledAfterItsFirstFile();
    ASSERT_EQ(view->screen(), Screen::validating);
    ASSERT_TRUE(view->cardWatcher()->cardMissing());
    view->goHome();
    drainEvents();
    EXPECT_EQ(view->screen(), Screen::welcome);
    EXPECT_EQ(calls.validated.size(), 1);
    EXPECT_FALSE(view->folderURL());

    // From the grid: nor prepare the old session's videos again.
    betweenFiles.reset();
    outcomes = {{{video(QStringLiteral("v.mov")), video(QStringLiteral("w.mov"))}, {}, 2}};
    insertCard();
    runSession();
    ASSERT_EQ(view->screen(), Screen::grid);
    pullCard();
    ASSERT_TRUE(settle([&] { return !view->playbackPrewarmer()->isWorking(); }));
    const qsizetype conversions = preparation.conversionsStarted.size();
    view->goHome();
    drainEvents();
    EXPECT_EQ(view->screen(), Screen::welcome);
    EXPECT_TRUE(view->playbackPrewarmer()->states().isEmpty());
    EXPECT_EQ(preparation.conversionsStarted.size(), conversions);
}

TEST_F(ImportSessionFlow, GoHomeIsImmediateWhileReturnHomeAlsoEmptiesTheWorkingFolders)
{
    const MediaItem v = video(QStringLiteral("v.mov"));
    outcomes = {{{v}, {}, 1}};
    runSession();
    ASSERT_EQ(view->screen(), Screen::grid);
    const int resets = calls.workingFolderResets;

    // Pulled with the viewer and a confirmation open, the card-missing screen's
    // way home leaves nothing of them over the welcome screen.
    view->openViewer(0);
    view->setShowingSendConfirm(true);
    view->goHome();
    EXPECT_FALSE(view->viewerIndex());
    EXPECT_FALSE(view->showingSendConfirm());
    EXPECT_EQ(view->screen(), Screen::welcome);
    EXPECT_EQ(calls.workingFolderResets, resets);
    EXPECT_TRUE(view->playbackPrewarmer()->isWorking());
    EXPECT_FALSE(view->cardWatcher()->volumePath());
    EXPECT_FALSE(view->validationOutcome());
    EXPECT_TRUE(view->sourceFolderPath().isEmpty());

    runSession();
    view->backToGrid();
    awaitTask(view->returnHome());
    EXPECT_EQ(view->screen(), Screen::welcome);
    EXPECT_EQ(calls.workingFolderResets, resets + 2);
    EXPECT_FALSE(view->playbackPrewarmer()->isWorking());
    EXPECT_TRUE(view->videos().isEmpty());
}

TEST_F(ImportSessionFlow, TheCardLeavingTheGridPausesPlaybackPreparationAndItsReturnResumesIt)
{
    const MediaItem v = video(QStringLiteral("v.mov")), w = video(QStringLiteral("w.mov"));
    outcomes = {{{v, w}, {}, 2}};
    runSession();
    ASSERT_EQ(view->screen(), Screen::grid);
    ASSERT_TRUE(view->playbackPrewarmer()->isWorking());

    pullCard();
    ASSERT_TRUE(settle([&] { return !view->playbackPrewarmer()->isWorking(); }));
    EXPECT_TRUE(view->playbackPrewarmer()->states().isEmpty());
    EXPECT_EQ(view->screen(), Screen::grid);

    insertCard();
    ASSERT_TRUE(settle([&] { return view->playbackPrewarmer()->states().size() == 2; }));
    EXPECT_TRUE(view->playbackPrewarmer()->isWorking());
    EXPECT_EQ(calls.validated.size(), 1);
}
