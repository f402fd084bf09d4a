#include "support/SteppedTime.h"

#include "look/AnimatedValue.h"
#include "look/Animation.h"
#include "look/CrossFade.h"
#include "look/FrameTimeline.h"
#include "look/Presence.h"
#include "look/TimingCurve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace pomelark;
using namespace std::chrono_literals;
using pomelark::test::SteppedTime;

TEST(TimingCurve, StandardCurvesKeepTheirShape)
{
    for (const TimingCurve &curve : {TimingCurve::linear(), TimingCurve::easeIn(), TimingCurve::easeOut(),
                                     TimingCurve::easeInOut()}) {
        EXPECT_EQ(curve.valueAt(0), 0.0);
        EXPECT_EQ(curve.valueAt(1), 1.0);
        EXPECT_EQ(curve.valueAt(-0.5), 0.0);
        EXPECT_EQ(curve.valueAt(1.5), 1.0);
        double previous = 0;
        for (int i = 1; i <= 100; ++i) {
            const double v = curve.valueAt(i / 100.0);
            EXPECT_GE(v, previous - 1e-9);
            previous = v;
        }
    }
    EXPECT_NEAR(TimingCurve::linear().valueAt(0.3), 0.3, 1e-6);
    EXPECT_NEAR(TimingCurve::easeInOut().valueAt(0.5), 0.5, 1e-6);
    // Ease-out covers most of the way early and arrives gently; ease-in the opposite.
    EXPECT_GT(TimingCurve::easeOut().valueAt(0.25), 0.35);
    EXPECT_LT(TimingCurve::easeIn().valueAt(0.25), 0.1);
    EXPECT_NEAR(TimingCurve::easeOut().valueAt(0.5) + TimingCurve::easeIn().valueAt(0.5), 1.0, 1e-6);
    EXPECT_LT(TimingCurve::easeOut().slopeAt(0.99), 0.1);
}

TEST(TimingCurve, MatchesThePointsOfItsBezier)
{
    // At parameter t the curve passes through (x(t), y(t)); sample a few by hand.
    const TimingCurve curve(0.25, 0.1, 0.25, 1.0);
    for (double t : {0.1, 0.3, 0.5, 0.8}) {
        const double u = 1 - t;
        const double x = 3 * u * u * t * 0.25 + 3 * u * t * t * 0.25 + t * t * t;
        const double y = 3 * u * u * t * 0.1 + 3 * u * t * t * 1.0 + t * t * t;
        EXPECT_NEAR(curve.valueAt(x), y, 1e-6) << t;
    }
}

TEST(Spring, StartsEndsOvershootsAndSettles)
{
    const Spring &spring = Animations::spring();
    EXPECT_EQ(spring.displacementAt(0, -1, 0), -1);
    EXPECT_NEAR(spring.velocityAt(0, -1, 0), 0, 1e-9);
    // Damping fraction 0.7 overshoots by exp(-pi * 0.7 / sqrt(1 - 0.49)), about 4.6 %.
    double peak = 0;
    double peakTime = 0;
    for (int ms = 0; ms <= 2000; ++ms) {
        const double x = spring.displacementAt(ms / 1000.0, -1, 0);
        if (x > peak) {
            peak = x;
            peakTime = ms / 1000.0;
        }
    }
    EXPECT_NEAR(peak, std::exp(-M_PI * 0.7 / std::sqrt(1 - 0.49)), 1e-3);
    EXPECT_NEAR(peakTime, 0.5 / std::sqrt(1 - 0.49) / 2, 0.002); // half the damped period
    EXPECT_FALSE(spring.isSettledAt(0.3, -1, 0));
    EXPECT_TRUE(spring.isSettledAt(1.2, -1, 0));

    const Spring critical{0.5, 1.0, 0};
    const Spring heavy{0.5, 1.6, 0};
    for (double t = 0; t < 2; t += 0.01) {
        EXPECT_LE(critical.displacementAt(t, -1, 0), 1e-12) << t; // never crosses rest
        EXPECT_LE(heavy.displacementAt(t, -1, 0), 1e-12) << t;
    }
    EXPECT_LT(std::abs(heavy.displacementAt(0.5, -1, 0)), 1.0);
}

TEST(AnimatedValue, FollowsItsCurveAndStopsTheTickerWhenDone)
{
    SteppedTime time;
    AnimatedValue value(0.0, time.ticker);
    int changes = 0;
    value.setOnChange([&] { ++changes; });
    EXPECT_FALSE(time.ticker.isRunning());

    value.animateTo(10.0, Animation::linear(0.2));
    EXPECT_TRUE(time.ticker.isRunning());
    EXPECT_EQ(value.value(), 0.0);
    time.clock.advance(50ms);
    EXPECT_NEAR(value.value(), 2.5, 1e-9);
    time.step(200ms);
    EXPECT_EQ(value.value(), 10.0);
    EXPECT_FALSE(value.isAnimating());
    EXPECT_FALSE(time.ticker.isRunning());
    EXPECT_GT(changes, 5);
}

TEST(AnimatedValue, RetargetsFromWhereItIs)
{
    SteppedTime time;
    AnimatedValue value(0.0, time.ticker);
    value.animateTo(1.0, Animation::easeOut(0.15));
    time.step(48ms);
    const double reached = value.value();
    ASSERT_GT(reached, 0.2);
    ASSERT_LT(reached, 1.0);

    value.animateTo(0.0, Animation::easeOut(0.15));
    EXPECT_NEAR(value.value(), reached, 1e-9); // no jump at the turn
    time.step(75ms);
    EXPECT_LT(value.value(), reached);
    EXPECT_GT(value.value(), 0.0);
    time.step(100ms);
    EXPECT_EQ(value.value(), 0.0);

    // Asking again for the target it already heads for does not restart the motion.
    value.animateTo(1.0, Animation::linear(0.1));
    time.step(50ms);
    value.animateTo(1.0, Animation::linear(0.1));
    time.step(50ms);
    EXPECT_EQ(value.value(), 1.0);
}

TEST(AnimatedValue, SpringKeepsItsSpeedWhenRetargeted)
{
    SteppedTime time;
    AnimatedValue value(0.0, time.ticker);
    value.animateTo(100.0, Animation::spring());
    time.step(96ms);
    const double speed = value.velocity();
    const double at = value.value();
    ASSERT_GT(speed, 100.0);

    value.animateTo(50.0, Animation::spring());
    EXPECT_NEAR(value.value(), at, 1e-6);
    EXPECT_NEAR(value.velocity(), speed, speed * 0.02);
    time.step(2s);
    EXPECT_EQ(value.value(), 50.0);
    EXPECT_FALSE(time.ticker.isRunning());
}

TEST(AnimatedValue, DelayHoldsThenMovesAndJumpsEndEverything)
{
    SteppedTime time;
    AnimatedValue value(0.0, time.ticker);
    value.animateTo(1.0, Animation::spring().delayed(0.05));
    time.step(48ms);
    EXPECT_EQ(value.value(), 0.0);
    time.step(64ms);
    EXPECT_GT(value.value(), 0.0);
    value.setValue(0.25);
    EXPECT_FALSE(value.isAnimating());
    EXPECT_EQ(value.value(), 0.25);
    EXPECT_FALSE(time.ticker.isRunning());
}

TEST(FrameTimeline, PacesFramesAndFreezesWhilePaused)
{
    SteppedTime time;
    std::vector<std::chrono::nanoseconds> at60, at30;
    FrameTimeline fast(60, time.ticker);
    FrameTimeline slow(30, time.ticker);
    QObject::connect(&fast, &FrameTimeline::frame, [&](std::chrono::nanoseconds d) { at60.push_back(d); });
    QObject::connect(&slow, &FrameTimeline::frame, [&](std::chrono::nanoseconds d) { at30.push_back(d); });
    fast.start();
    slow.start();
    EXPECT_EQ(at60.size(), 1u); // a first frame at once
    EXPECT_TRUE(time.ticker.isRunning());

    // One second in 16 ms frames, then 60 and 30 frames a second, give or take one.
    time.step(1s);
    EXPECT_NEAR(double(at60.size() - 1), 60.0, 3.0);
    EXPECT_NEAR(double(at30.size() - 1), 30.0, 2.0);

    fast.setPaused(true);
    const auto frozen = fast.date();
    const size_t framesBefore = at60.size();
    time.step(500ms);
    EXPECT_EQ(at60.size(), framesBefore);
    EXPECT_EQ(fast.date(), frozen);

    fast.setPaused(false);
    // Resumes at the present: the paused half second is not subtracted.
    EXPECT_EQ(fast.date(), time.clock.now());
    EXPECT_EQ(at60.size(), framesBefore + 1);

    fast.stop();
    slow.stop();
    time.ticker.tick();
    EXPECT_FALSE(time.ticker.isRunning());
}

TEST(FrameTimeline, StartedWhilePausedDeliversNothingUntilResumed)
{
    SteppedTime time;
    int frames = 0;
    FrameTimeline timeline(60, time.ticker);
    QObject::connect(&timeline, &FrameTimeline::frame, [&] { ++frames; });
    timeline.setPaused(true);
    timeline.start();
    time.step(200ms);
    EXPECT_EQ(frames, 0);
    EXPECT_FALSE(time.ticker.isRunning());
    timeline.setPaused(false);
    EXPECT_EQ(frames, 1);
}

TEST(Presence, FadesAndMovesInAndStaysDrawableOnItsWayOut)
{
    SteppedTime time;
    Presence fade(Transition::opacity(), time.ticker);
    EXPECT_FALSE(fade.isVisible());
    fade.insert(Animation::easeOut(0.15));
    EXPECT_TRUE(fade.isPresent());
    time.step(160ms);
    EXPECT_EQ(fade.frame({100, 40}).opacity, 1.0);
    fade.remove(Animation::easeOut(0.15));
    EXPECT_FALSE(fade.isPresent());
    time.step(32ms);
    EXPECT_TRUE(fade.isVisible());
    EXPECT_LT(fade.frame({100, 40}).opacity, 1.0);
    time.step(160ms);
    EXPECT_FALSE(fade.isVisible());

    Presence slide(Transition::moveFrom(Transition::Edge::Bottom), time.ticker);
    EXPECT_EQ(slide.frame({100, 40}).offset, QPointF(0, 40));
    slide.insert(Animation::linear(0.2));
    time.step(96ms);
    const Transition::Frame halfway = slide.frame({100, 40});
    EXPECT_NEAR(halfway.offset.y(), 40 * (1 - 0.48), 0.5);
    EXPECT_NEAR(halfway.opacity, 0.48, 0.01);
    const Transition leading = Transition::moveFrom(Transition::Edge::Leading);
    EXPECT_EQ(leading.frameAt(0, {100, 40}).offset, QPointF(-100, 0));
    EXPECT_EQ(leading.frameAt(0, {100, 40}, true).offset, QPointF(100, 0));
}

TEST(CrossFade, HandsOverFromTheOldPictureToTheNew)
{
    SteppedTime time;
    CrossFade fade(time.ticker);
    EXPECT_EQ(fade.incomingOpacity(), 1.0);
    fade.start(QPixmap(), Animation::linear(0.2));
    EXPECT_EQ(fade.outgoingOpacity(), 1.0);
    time.step(96ms);
    EXPECT_NEAR(fade.incomingOpacity() + fade.outgoingOpacity(), 1.0, 1e-9);
    EXPECT_NEAR(fade.incomingOpacity(), 0.48, 0.01);
    time.step(200ms);
    EXPECT_FALSE(fade.isRunning());
    EXPECT_EQ(fade.incomingOpacity(), 1.0);
}
