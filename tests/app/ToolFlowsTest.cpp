#include "SessionHarness.h"

#include "support/AsyncTest.h"

#include <QSettings>

using namespace pomelark;
using namespace pomelark::test;
using Screen = ContentView::Screen;
using InfoAlert = ContentView::InfoAlert;
using ToolProgress = ContentView::ToolProgress;

namespace {

class ToolFlowsTest : public SessionHarness {
protected:
    void showGrid(const MediaItems &items) { view->enterGrid(items, false); }
    void select(const SessionState::IDSet &ids)
    {
        view->enterSelectMode();
        view->selectedIDsBinding().set(ids);
    }
};

} // namespace

TEST_F(ToolFlowsTest, SidewaysJobNeedsPhotosAndRunsOnceAtATime)
{
    showGrid({video(QStringLiteral("v.mov"))});
    view->autoRotateTapped();
    EXPECT_EQ(view->infoAlert(), InfoAlert::noPhotosToRotate);
    EXPECT_FALSE(view->autoRotateProgress());
    drainEvents();
    EXPECT_TRUE(calls.orientationRuns.isEmpty());

    const MediaItem a = photo(QStringLiteral("a.jpg")), b = photo(QStringLiteral("b.jpg"));
    showGrid({a, b});
    view->autoRotateTapped();
    EXPECT_EQ(view->autoRotateProgress(), (ToolProgress{0, 2}));
    ASSERT_TRUE(settle([&] { return calls.orientationRuns.size() == 1; }));
    view->autoRotateTapped();
    drainEvents();
    EXPECT_EQ(calls.orientationRuns.size(), 1);

    orientationResult->setValue({});
    ASSERT_TRUE(settle([&] { return !view->autoRotateProgress(); }));
    EXPECT_EQ(view->infoAlert(), InfoAlert::allUpright);
    EXPECT_FALSE(view->showingRotateConfirm());
}

TEST_F(ToolFlowsTest, SuggestionsFollowThePhotoOrderAndAddToChosenTurns)
{
    const MediaItem a = photo(QStringLiteral("a.jpg")), b = photo(QStringLiteral("b.jpg")),
                    c = photo(QStringLiteral("c.jpg"));
    showGrid({a, b, c});
    view->rotationsBinding().set({{a.id, 270}, {c.id, 90}});

    view->autoRotateTapped();
    ASSERT_TRUE(settle([&] { return calls.orientationRuns.size() == 1; }));
    orientationResult->setValue({{c.url, 90}, {a.url, 90}, {b.url, 180}});
    ASSERT_TRUE(settle([&] { return view->showingRotateConfirm(); }));
    EXPECT_FALSE(view->autoRotateProgress());
    const RotateSuggestions suggestions = view->rotateSuggestions();
    ASSERT_EQ(suggestions.size(), 3);
    EXPECT_EQ(suggestions[0], (RotateSuggestion{a.id, a, 90, true}));
    EXPECT_EQ(suggestions[1].id, b.id);
    EXPECT_EQ(suggestions[2].id, c.id);

    // The user declines b's turn.
    RotateSuggestions edited = suggestions;
    edited[1].accepted = false;
    view->rotateSuggestionsBinding().set(edited);
    view->applyRotations();
    EXPECT_FALSE(view->showingRotateConfirm());
    EXPECT_TRUE(view->rotateSuggestions().isEmpty());
    EXPECT_EQ(view->rotations(), (SessionState::Rotations{{a.id, 0}, {c.id, 180}}));

    // A second job on the same photo turns it further; cancelling changes nothing.
    view->autoRotateTapped();
    ASSERT_TRUE(settle([&] { return calls.orientationRuns.size() == 2; }));
    orientationResult->setValue({{c.url, 90}});
    ASSERT_TRUE(settle([&] { return view->showingRotateConfirm(); }));
    view->cancelRotate();
    EXPECT_FALSE(view->showingRotateConfirm());
    EXPECT_TRUE(view->rotateSuggestions().isEmpty());
    EXPECT_EQ(view->rotations().value(c.id), 180);
}

TEST_F(ToolFlowsTest, ResultsOfAJobOverTakenByANewSessionAreDropped)
{
    showGrid({photo(QStringLiteral("a.jpg")), photo(QStringLiteral("b.jpg"))});
    view->autoRotateTapped();
    view->bestShotTapped();
    ASSERT_TRUE(settle([&] { return calls.orientationRuns.size() == 1 && calls.bestShotRuns.size() == 1; }));
    view->goHome();
    orientationResult->setValue({{calls.orientationRuns[0][0].url, 90}});
    bestShotResult->setValue({BestShotGroup(calls.bestShotRuns[0], 0)});
    ASSERT_TRUE(settle([&] { return !view->autoRotateProgress() && !view->bestShotProgress(); }));
    EXPECT_FALSE(view->showingRotateConfirm());
    EXPECT_FALSE(view->showingBestShotConfirm());
    EXPECT_FALSE(view->infoAlert());
}

TEST_F(ToolFlowsTest, SimilarShotsNeedTwoPhotosAndExcludeOnlyWhatIsNotKept)
{
    const MediaItem a = photo(QStringLiteral("a.jpg")), b = photo(QStringLiteral("b.jpg")),
                    c = photo(QStringLiteral("c.jpg")), d = photo(QStringLiteral("d.jpg"));
    showGrid({a, video(QStringLiteral("v.mov"))});
    view->bestShotTapped();
    EXPECT_EQ(view->infoAlert(), InfoAlert::notEnoughPhotos);
    EXPECT_FALSE(view->bestShotProgress());

    showGrid({a, b, c, d});
    select({b.id});
    view->applyExclude();   // b was left out before the job
    view->bestShotTapped();
    EXPECT_EQ(view->bestShotProgress(), (ToolProgress{0, 4}));
    ASSERT_TRUE(settle([&] { return calls.bestShotRuns.size() == 1; }));
    view->bestShotTapped();
    BestShotGroup first({a, b}, 1);          // keeps b only
    BestShotGroup second({c, d}, std::nullopt);   // keeps both
    BestShotGroup shortFlags({d, a}, 0);
    shortFlags.keep = {true};                 // a flag missing: d kept, a not touched
    bestShotResult->setValue({first, second, shortFlags});
    ASSERT_TRUE(settle([&] { return view->showingBestShotConfirm(); }));
    EXPECT_EQ(calls.bestShotRuns.size(), 1);
    EXPECT_EQ(view->bestShotGroups().size(), 3);

    view->applyBestShot();
    EXPECT_EQ(view->excludedIDs(), (SessionState::IDSet{a.id, b.id}));
    EXPECT_FALSE(view->showingBestShotConfirm());
    EXPECT_TRUE(view->bestShotGroups().isEmpty());

    view->bestShotTapped();
    ASSERT_TRUE(settle([&] { return calls.bestShotRuns.size() == 2; }));
    bestShotResult->setValue({});
    ASSERT_TRUE(settle([&] { return !view->bestShotProgress(); }));
    EXPECT_EQ(view->infoAlert(), InfoAlert::noBestShotGroups);
}

TEST_F(ToolFlowsTest, ExcludeAndIncludeApplyTheSelectionAndEndSelectMode)
{
    const MediaItem a = photo(QStringLiteral("a.jpg")), b = photo(QStringLiteral("b.jpg"));
    showGrid({a, b});
    select({a.id, b.id});
    view->setShowingExcludeConfirm(true);
    view->applyExclude();
    EXPECT_EQ(view->excludedIDs(), (SessionState::IDSet{a.id, b.id}));
    EXPECT_FALSE(view->showingExcludeConfirm());
    EXPECT_FALSE(view->selectMode());
    EXPECT_TRUE(view->selectedIDs().isEmpty());

    const QUuid stranger = QUuid::createUuid();
    select({a.id, stranger});
    view->setShowingIncludeConfirm(true);
    view->applyInclude();
    EXPECT_EQ(view->excludedIDs(), SessionState::IDSet{b.id});
    EXPECT_FALSE(view->showingIncludeConfirm());
    EXPECT_FALSE(view->selectMode());

    view->enterSelectMode();
    view->setShowingExcludeConfirm(true);
    view->applyExclude();
    EXPECT_EQ(view->excludedIDs(), SessionState::IDSet{b.id});
    EXPECT_FALSE(view->showingExcludeConfirm());
    EXPECT_FALSE(view->selectMode());
}

TEST_F(ToolFlowsTest, TheSendHandsKeptPhotosThenVideosWithEveryRotationAndTheStoredChoices)
{
    {
        QSettings store(settingsFile(), QSettings::IniFormat);
        store.setValue(SessionDefaults::dateModeKey, QStringLiteral("now"));
        store.setValue(SessionDefaults::qualityKey, QStringLiteral("quality"));
        store.setValue(SessionDefaults::autoCleanupKey, false);
    }
    const MediaItem v1 = video(QStringLiteral("1.mov")), p1 = photo(QStringLiteral("1.jpg")),
                    p2 = photo(QStringLiteral("2.jpg")), v2 = video(QStringLiteral("2.mp4")),
                    p3 = photo(QStringLiteral("3.jpg"));
    showGrid({v1, p1, p2, v2, p3});
    select({p2.id});
    view->applyExclude();
    view->rotationsBinding().set({{p1.id, 90}, {p2.id, 180}});

    view->setShowingSendConfirm(true);
    view->confirmSend();
    EXPECT_FALSE(view->showingSendConfirm());
    EXPECT_EQ(view->screen(), Screen::converting);
    ASSERT_TRUE(settle([&] { return calls.sends.size() == 1; }));
    const ServiceCalls::Send &send = calls.sends[0];
    EXPECT_EQ(send.items, (MediaItems{p1, p3, v1, v2}));
    EXPECT_EQ(send.rotations, (QHash<QUuid, int>{{p1.id, 90}, {p2.id, 180}}));
    EXPECT_EQ(send.settings, (ExportSettings{DateMode::now, QualityMode::quality, false}));
    EXPECT_FALSE(send.isCardMissing());

    // A second confirmation while the send runs starts nothing.
    view->startSend();
    drainEvents();
    EXPECT_EQ(calls.sends.size(), 1);

    sendFinished->setValue(true);
    ASSERT_TRUE(settle([&] { return view->screen() == Screen::done; }));
    view->backToGrid();
    EXPECT_EQ(view->screen(), Screen::grid);
    EXPECT_EQ(view->excludedIDs(), SessionState::IDSet{p2.id});
}

TEST_F(ToolFlowsTest, ASendWithEverythingExcludedStillEndsOnDone)
{
    const MediaItem p = photo(QStringLiteral("p.jpg"));
    showGrid({p});
    select({p.id});
    view->applyExclude();
    view->startSend();
    ASSERT_TRUE(settle([&] { return calls.sends.size() == 1; }));
    EXPECT_TRUE(calls.sends[0].items.isEmpty());
    EXPECT_EQ(calls.sends[0].settings, (ExportSettings{DateMode::keep, QualityMode::size, true}));
    sendFinished->setValue(true);
    ASSERT_TRUE(settle([&] { return view->screen() == Screen::done; }));
}

TEST_F(ToolFlowsTest, TheSendAsksTheCardWatcherWhetherTheCardIsGone)
{
    outcomes = {{{photo(QStringLiteral("p.jpg"))}, {}, 1}};
    runSession();
    view->startSend();
    ASSERT_TRUE(settle([&] { return calls.sends.size() == 1; }));
    EXPECT_FALSE(calls.sends[0].isCardMissing());
    pullCard();
    EXPECT_TRUE(calls.sends[0].isCardMissing());
    sendFinished->setValue(true);
    ASSERT_TRUE(settle([&] { return view->screen() == Screen::done; }));
}
