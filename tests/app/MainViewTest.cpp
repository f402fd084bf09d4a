#include "SessionHarness.h"
#include "support/SteppedTime.h"

#include "app/GridScreen.h"
#include "app/InactiveCover.h"
#include "app/MainView.h"
#include "app/PreparingScreen.h"
#include "app/SettingsScreen.h"
#include "app/ToolProgressOverlay.h"
#include "app/ValidationScreen.h"
#include "app/WelcomeView.h"
#include "browsing/ExcludeConfirmView.h"
#include "browsing/IncludeConfirmView.h"
#include "browsing/MediaGridView.h"
#include "browsing/SelectionBar.h"
#include "browsing/ViewerView.h"
#include "look/OverlayLayer.h"
#include "tidy_send/RotateConfirmView.h"
#include "tidy_send/SendConfirmView.h"

#include <QAction>
#include <QMessageBox>
#include <QPointer>

using namespace pomelark;
using namespace pomelark::test;
using Screen = ContentView::Screen;
using namespace std::chrono_literals;

namespace {

class MainViewTest : public SessionHarness {
protected:
    void SetUp() override
    {
        main = std::make_unique<MainView>(view.get(), nullptr, time.ticker);
        main->resize(900, 640);
        main->show();
    }

    template <typename T>
    T *screenAs() const
    {
        return qobject_cast<T *>(main->screenWidget());
    }

    void showGrid(const MediaItems &items) { view->enterGrid(items, false); }

    static void deleteLeavers() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    test::SteppedTime time;
    std::unique_ptr<MainView> main;
};

TEST_F(MainViewTest, EachScreenOfTheSessionIsBuiltFromItsState)
{
    EXPECT_NE(screenAs<WelcomeView>(), nullptr);

    const MediaItem a = photo(QStringLiteral("a.jpg")), b = photo(QStringLiteral("b.jpg"));
    outcomes = {{{a, b}, {}, 2}};
    runSession();
    ASSERT_EQ(view->screen(), Screen::grid);
    auto *grid = screenAs<GridScreen>();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->geometry(), main->rect());

    view->openSettings(Screen::grid);
    EXPECT_NE(screenAs<SettingsScreen>(), nullptr);
    view->closeSettings();
    EXPECT_NE(screenAs<GridScreen>(), nullptr);

    // A failed file stops at the result screen; going on reaches the grid.
    const MediaItem good = photo(QStringLiteral("good.jpg"));
    outcomes = {{{good}, {ValidationFailure{QUuid::createUuid(), cardFolder(), ValidationFailure::Reason::emptyFile}}, 2}};
    runSession();
    ASSERT_EQ(view->screen(), Screen::validationResult);
    EXPECT_NE(screenAs<ValidationScreen>(), nullptr);

    view->goHome();
    EXPECT_NE(screenAs<WelcomeView>(), nullptr);
}

TEST_F(MainViewTest, DoneScreenDrawsNothingUntilTheSendHasAnOutcome)
{
    showGrid({photo(QStringLiteral("a.jpg"))});
    view->confirmSend();
    EXPECT_EQ(view->screen(), Screen::converting);
    EXPECT_NE(main->screenWidget(), nullptr);
    // The coordinator is still idle when the stand-in send ends.
    ASSERT_TRUE(settle([&] { return calls.sends.size() == 1; }));
    sendFinished->setValue(true);
    ASSERT_TRUE(settle([&] { return view->screen() == Screen::done; }));
    EXPECT_EQ(main->screenWidget(), nullptr);
}

TEST_F(MainViewTest, CardMissingCoversTheSessionScreensAndTheirOverlaysButNotWelcome)
{
    const MediaItem a = photo(QStringLiteral("a.jpg"));
    outcomes = {{{a}, {}, 1}};
    runSession();
    ASSERT_EQ(view->screen(), Screen::grid);
    view->openViewer(0);
    ASSERT_NE(main->viewer(), nullptr);

    pullCard();
    ASSERT_TRUE(settle([&] { return main->cardMissing() != nullptr; }));
    // It lies above the open viewer.
    const QObjectList layers = main->children();
    EXPECT_GT(layers.indexOf(main->cardMissing()), layers.indexOf(main->viewer()));

    view->openSettings(Screen::grid);
    EXPECT_NE(main->cardMissing(), nullptr);

    view->goHome();
    EXPECT_EQ(main->cardMissing(), nullptr);
}

TEST_F(MainViewTest, OverlaysComeAndGoWithTheirFlagsInTheirOrder)
{
    const MediaItem a = photo(QStringLiteral("a.jpg")), b = photo(QStringLiteral("b.jpg"));
    showGrid({a, b});

    view->setShowingSendConfirm(true);
    ASSERT_NE(main->sendConfirm(), nullptr);
    view->setShowingSendConfirm(false);
    EXPECT_EQ(main->sendConfirm(), nullptr);

    view->enterSelectMode();
    view->selectedIDsBinding().set({a.id});
    view->setShowingExcludeConfirm(true);
    ASSERT_NE(main->excludeConfirm(), nullptr);
    view->applyExclude();
    EXPECT_EQ(main->excludeConfirm(), nullptr);
    EXPECT_TRUE(view->excludedIDs().contains(a.id));

    // An index outside the items shows no viewer and is left as it is.
    view->openViewer(5);
    EXPECT_EQ(main->viewer(), nullptr);
    EXPECT_EQ(view->viewerIndex(), 5);
    view->openViewer(1);
    EXPECT_NE(main->viewer(), nullptr);
    view->closeViewer();
    EXPECT_EQ(main->viewer(), nullptr);

    // Both tool progress cards may be up at once, the similar-photo one above.
    view->autoRotateTapped();
    view->bestShotTapped();
    ASSERT_NE(main->autoRotateProgress(), nullptr);
    ASSERT_NE(main->bestShotProgress(), nullptr);
    const QObjectList layers = main->children();
    EXPECT_GT(layers.indexOf(main->bestShotProgress()), layers.indexOf(main->autoRotateProgress()));
    ASSERT_TRUE(settle([&] { return calls.orientationRuns.size() == 1 && orientationResult; }));
    orientationResult->setValue({{a.url, 90}});
    ASSERT_TRUE(settle([&] { return main->rotateConfirm() != nullptr; }));
    EXPECT_EQ(main->autoRotateProgress(), nullptr);
    view->cancelRotate();
    EXPECT_EQ(main->rotateConfirm(), nullptr);
    // The similar-photo job ends too: a job left waiting for ever would keep
    // its tasks suspended, memory nothing frees.
    ASSERT_TRUE(settle([&] { return calls.bestShotRuns.size() == 1 && bestShotResult; }));
    bestShotResult->setValue({});
    ASSERT_TRUE(settle([&] { return main->bestShotProgress() == nullptr; }));
}

TEST_F(MainViewTest, GridScreenFollowsSelectionAndOffersSelectAllOnlyWithoutTheViewer)
{
    const MediaItem a = photo(QStringLiteral("a.jpg")), b = photo(QStringLiteral("b.jpg"));
    showGrid({a, b});
    auto *grid = screenAs<GridScreen>();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->selectionBar(), nullptr);

    grid->selectAllAction()->trigger();
    EXPECT_TRUE(view->selectMode());
    EXPECT_EQ(view->selectedIDs(), (SessionState::IDSet{a.id, b.id}));
    ASSERT_NE(grid->selectionBar(), nullptr);
    EXPECT_EQ(grid->selectionBar()->count(), 2);

    view->openViewer(0);
    EXPECT_FALSE(grid->selectAllAction()->isEnabled());
    view->closeViewer();
    EXPECT_TRUE(grid->selectAllAction()->isEnabled());

    // The cover lies over the grid exactly while the app is away or hidden.
    const bool away = !(view->activity()->appActive() && view->activity()->windowVisible());
    EXPECT_EQ(grid->cover() != nullptr, away);
}

TEST_F(MainViewTest, InformationAlertIsShownAndDismissedThroughTheController)
{
    showGrid({video(QStringLiteral("v.mov"))});
    view->autoRotateTapped();
    ASSERT_TRUE(view->infoAlert());
    ASSERT_NE(main->infoAlert(), nullptr);
    EXPECT_EQ(main->infoAlert()->informativeText(), view->infoAlertMessage());
    main->infoAlert()->accept();
    EXPECT_FALSE(view->infoAlert());
    EXPECT_EQ(main->infoAlert(), nullptr);
}

} // namespace

namespace {

TEST_F(MainViewTest, ConfirmationsAndTheViewerFadeWithTheWindowWhileToolConfirmationsComeAtOnce)
{
    const MediaItem a = photo(QStringLiteral("a.jpg")), b = photo(QStringLiteral("b.jpg"));
    showGrid({a, b});

    // An ease-out of a quarter second: past half way at half time, done at the end.
    const auto fadesWithTheWindow = [&](OverlayLayer *layer, const std::function<void()> &close) {
        time.step(125ms);
        EXPECT_GT(layer->presence(), 0.5);
        EXPECT_LT(layer->presence(), 1.0);
        time.step(130ms);
        EXPECT_EQ(layer->presence(), 1.0);
        QPointer<OverlayLayer> leaving = layer;
        close();
        time.step(125ms);
        ASSERT_FALSE(leaving.isNull());
        EXPECT_LT(leaving->presence(), 0.5);
        EXPECT_GT(leaving->presence(), 0.0);
        time.step(130ms);
        deleteLeavers();
        EXPECT_TRUE(leaving.isNull());
    };

    view->setShowingSendConfirm(true);
    ASSERT_NE(main->sendConfirm(), nullptr);
    fadesWithTheWindow(main->sendConfirm(), [&] { view->setShowingSendConfirm(false); });

    view->enterSelectMode();
    view->selectedIDsBinding().set({a.id});
    view->setShowingIncludeConfirm(true);
    ASSERT_NE(main->includeConfirm(), nullptr);
    fadesWithTheWindow(main->includeConfirm(), [&] { view->setShowingIncludeConfirm(false); });

    view->openViewer(1);
    ASSERT_NE(main->viewer(), nullptr);
    fadesWithTheWindow(main->viewer(), [&] { view->closeViewer(); });

    view->autoRotateTapped();
    ASSERT_TRUE(settle([&] { return orientationResult != nullptr; }));
    orientationResult->setValue({{b.url, 90}});
    ASSERT_TRUE(settle([&] { return main->rotateConfirm() != nullptr; }));
    QPointer<RotateConfirmView> rotate = main->rotateConfirm();
    EXPECT_EQ(rotate->presence(), 1.0);
    view->cancelRotate();
    EXPECT_TRUE(rotate->isHidden());
    deleteLeavers();
    EXPECT_TRUE(rotate.isNull());
}

TEST_F(MainViewTest, SelectionBarRisesFromTheBottomFadingInAndSinksFadingOut)
{
    showGrid({photo(QStringLiteral("a.jpg"))});
    auto *grid = screenAs<GridScreen>();
    ASSERT_NE(grid, nullptr);

    view->enterSelectMode();
    QPointer<SelectionBar> bar = grid->selectionBar();
    ASSERT_FALSE(bar.isNull());
    const int restingTop = grid->height() - bar->sizeHint().height();
    time.step(125ms);
    EXPECT_GT(bar->y(), restingTop);
    EXPECT_GT(bar->opacity(), 0.5);
    EXPECT_LT(bar->opacity(), 1.0);
    time.step(130ms);
    EXPECT_EQ(bar->y(), restingTop);
    EXPECT_EQ(bar->opacity(), 1.0);

    view->finishSelecting();
    time.step(125ms);
    ASSERT_FALSE(bar.isNull());
    EXPECT_GT(bar->y(), restingTop);
    EXPECT_LT(bar->opacity(), 0.5);
    time.step(130ms);
    deleteLeavers();
    EXPECT_TRUE(bar.isNull());
    EXPECT_EQ(grid->selectionBar(), nullptr);
}

TEST_F(MainViewTest, ASessionStartedAgainOnTheSameScreenGetsAPreparingScreenFromItsNewStart)
{
    outcomes = {{{photo(QStringLiteral("a.jpg"))}, {}, 1}};
    std::optional<std::chrono::nanoseconds> firstStart, laterStart;
    clock.at(1000ms, [&] {
        if (auto *preparing = screenAs<PreparingScreen>())
            firstStart = preparing->pacer().startedAt();
        pullCard();
    });
    clock.at(1500ms, [this] { insertCard(); });
    clock.at(1600ms, [&] {
        if (auto *preparing = screenAs<PreparingScreen>())
            laterStart = preparing->pacer().startedAt();
    });
    runSession();
    ASSERT_TRUE(settle([&] { return view->screen() == Screen::grid; }));
    EXPECT_EQ(firstStart, 0ms);
    EXPECT_EQ(laterStart, 1500ms);
}

} // namespace
