#include "look/MascotPauseRules.h"
#include "look/MascotPauser.h"

#include <QMoveEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace std::chrono_literals;

namespace {

// The rules with a stepped clock and a switch standing in for the windows.
struct RulesHarness {
    bool visible = true;
    std::chrono::nanoseconds now{1s};
    MascotPauseRules rules{true, [this] { return visible; }};

    void step(std::chrono::nanoseconds span)
    {
        now += span;
        rules.advanceTo(now);
    }
    bool paused() const { return rules.state().paused; }
};

} // namespace

TEST(MascotPauseRulesTest, DragPausesUntilQuietForFourTenths)
{
    RulesHarness h;
    EXPECT_FALSE(h.paused());
    h.rules.noteWindowMoving(h.now);
    EXPECT_TRUE(h.paused());
    EXPECT_TRUE(h.rules.state().windowMoving);
    // Reports keep coming during the drag: each restarts the settle.
    for (int i = 0; i < 10; ++i) {
        h.step(100ms);
        h.rules.noteWindowMoving(h.now);
        EXPECT_TRUE(h.paused());
    }
    h.step(399ms);
    EXPECT_TRUE(h.paused());
    h.step(1ms);
    EXPECT_FALSE(h.paused());
    EXPECT_FALSE(h.rules.state().windowMoving);
    EXPECT_FALSE(h.rules.nextDeadline().has_value());
}

TEST(MascotPauseRulesTest, ActiveStateAndTheStartingValue)
{
    // Made while inactive: not paused until the first report.
    RulesHarness h;
    MascotPauseRules inactive(false, [] { return true; });
    EXPECT_FALSE(inactive.state().appActive);
    EXPECT_FALSE(inactive.state().paused);
    inactive.occlusionChanged(0ns);
    EXPECT_TRUE(inactive.state().paused);

    h.rules.setAppActive(false);
    EXPECT_TRUE(h.paused());
    h.rules.setAppActive(true);
    EXPECT_FALSE(h.paused());
    // Active again while a drag settles: still paused until it does.
    h.rules.noteWindowMoving(h.now);
    h.rules.setAppActive(false);
    h.rules.setAppActive(true);
    EXPECT_TRUE(h.paused());
    h.step(400ms);
    EXPECT_FALSE(h.paused());
}

TEST(MascotPauseRulesTest, HidingWaitsAndShowingCancels)
{
    RulesHarness h;
    h.visible = false;
    h.rules.occlusionChanged(h.now);
    EXPECT_TRUE(h.rules.hidePending());
    EXPECT_FALSE(h.paused());
    h.step(149ms);
    EXPECT_TRUE(h.rules.state().windowVisible);
    // A repeated hidden report starts no second delay: the first still counts.
    h.rules.occlusionChanged(h.now);
    EXPECT_EQ(*h.rules.nextDeadline(), h.now + 1ms);
    h.step(1ms);
    EXPECT_FALSE(h.rules.state().windowVisible);
    EXPECT_TRUE(h.paused());
    // Showing takes effect at once.
    h.visible = true;
    h.rules.occlusionChanged(h.now);
    EXPECT_TRUE(h.rules.state().windowVisible);
    EXPECT_FALSE(h.paused());

    // Uncovered within the delay: the hide is cancelled and nothing changes.
    h.visible = false;
    h.rules.occlusionChanged(h.now);
    h.step(100ms);
    h.visible = true;
    h.rules.occlusionChanged(h.now);
    EXPECT_FALSE(h.rules.hidePending());
    h.step(1s);
    EXPECT_TRUE(h.rules.state().windowVisible);
    EXPECT_FALSE(h.paused());

    // Visible again when the delay runs out, without a report: it stays visible.
    h.visible = false;
    h.rules.occlusionChanged(h.now);
    h.visible = true;
    h.step(150ms);
    EXPECT_TRUE(h.rules.state().windowVisible);
}

TEST(MascotPauseRulesTest, DeadlineIsTheEarliestPendingDelay)
{
    RulesHarness h;
    EXPECT_FALSE(h.rules.nextDeadline().has_value());
    h.rules.noteWindowMoving(h.now);
    h.visible = false;
    h.rules.occlusionChanged(h.now);
    EXPECT_EQ(*h.rules.nextDeadline(), h.now + 150ms);
    h.step(150ms);
    EXPECT_EQ(*h.rules.nextDeadline(), h.now + 250ms);
}

// The plumbing: real (offscreen) windows and the pauser's own event handling,
// with a hand-stepped clock for the delays.
class MascotPauserWindows : public testing::Test {
protected:
    void SetUp() override
    {
        window.resize(120, 80);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Lets the pauser's queued reports arrive.
    static void deliver() { QCoreApplication::processEvents(); QCoreApplication::processEvents(); }

    ManualAnimationClock clock;
    QWidget window;
};

TEST_F(MascotPauserWindows, HidingTheOnlyWindowPausesAfterTheDelay)
{
    MascotPauser pauser(clock);
    QSignalSpy pausedSpy(&pauser, &MascotPauser::pausedChanged);
    QSignalSpy visibleSpy(&pauser, &MascotPauser::windowVisibleChanged);
    EXPECT_TRUE(MascotPauser::anyWindowVisible());

    window.hide();
    deliver();
    EXPECT_FALSE(MascotPauser::anyWindowVisible());
    EXPECT_TRUE(pauser.windowVisible());
    clock.advance(150ms);
    pauser.settle();
    EXPECT_FALSE(pauser.windowVisible());
    EXPECT_TRUE(pauser.paused());
    EXPECT_EQ(visibleSpy.count(), 1);

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    deliver();
    EXPECT_TRUE(pauser.windowVisible());
    EXPECT_EQ(pauser.paused(), !pauser.appActive());
    EXPECT_GE(pausedSpy.count(), 1);
}

TEST_F(MascotPauserWindows, TwoWindowsOneHiddenStaysVisible)
{
    QWidget second;
    second.resize(50, 50);
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    MascotPauser pauser(clock);
    second.hide();
    deliver();
    clock.advance(1s);
    pauser.settle();
    EXPECT_TRUE(pauser.windowVisible());
}

TEST_F(MascotPauserWindows, MovesPauseUntilTheySettleAndRepeatsPublishOnce)
{
    MascotPauser pauser(clock);
    QSignalSpy movingSpy(&pauser, &MascotPauser::windowMovingChanged);
    QWindow *handle = window.windowHandle();
    ASSERT_NE(handle, nullptr);
    for (int i = 0; i < 5; ++i) {
        QMoveEvent move(QPoint(10 + i, 10), QPoint(10, 10));
        QCoreApplication::sendEvent(handle, &move);
        deliver();
        clock.advance(100ms);
    }
    EXPECT_TRUE(pauser.windowMoving());
    EXPECT_TRUE(pauser.paused());
    EXPECT_EQ(movingSpy.count(), 1);
    pauser.settle();
    EXPECT_TRUE(pauser.windowMoving());  // 100 ms since the last move
    clock.advance(300ms);
    pauser.settle();
    EXPECT_FALSE(pauser.windowMoving());
    EXPECT_EQ(movingSpy.count(), 2);
}

TEST_F(MascotPauserWindows, SharedIsOneObjectWithProperties)
{
    MascotPauser &shared = MascotPauser::shared();
    EXPECT_EQ(&shared, &MascotPauser::shared());
    EXPECT_TRUE(shared.property("paused").isValid());
    EXPECT_TRUE(shared.property("appActive").isValid());
    EXPECT_TRUE(shared.property("windowVisible").isValid());
    EXPECT_TRUE(shared.property("windowMoving").isValid());
}
