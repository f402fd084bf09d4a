#include "browsing/PlayerTimeline.h"

#include <gtest/gtest.h>

#include <limits>

namespace pomelark {
namespace {

using Toggle = PlayerTimeline::Toggle;

PlayerTimeline playingTimeline(double duration)
{
    PlayerTimeline timeline;
    timeline.setDuration(duration);
    timeline.startedPlaying();
    return timeline;
}

TEST(PlayerTimelineTest, TheEndIsReachedWithinFiftyMillisecondsOfTheLength)
{
    PlayerTimeline timeline = playingTimeline(10);
    timeline.handleTimeUpdate(9.94);
    EXPECT_TRUE(timeline.isPlaying());
    EXPECT_DOUBLE_EQ(timeline.progress(), 0.994);
    timeline.handleTimeUpdate(9.96);
    EXPECT_FALSE(timeline.isPlaying());

    // A player whose last time falls short of the stated length still ends.
    PlayerTimeline short_ = playingTimeline(10);
    short_.handleTimeUpdate(9.8);
    short_.handleEnd();
    EXPECT_FALSE(short_.isPlaying());
    EXPECT_DOUBLE_EQ(short_.progress(), 1.0);
    EXPECT_EQ(short_.toggle(), Toggle::restartAndPlay);
}

TEST(PlayerTimelineTest, PlayRestartsOnlyWithinTheLastTwoHundredMilliseconds)
{
    PlayerTimeline timeline = playingTimeline(10);
    EXPECT_EQ(timeline.toggle(), Toggle::pause);
    EXPECT_FALSE(timeline.isPlaying());
    timeline.handleTimeUpdate(9.7);
    EXPECT_EQ(timeline.toggle(), Toggle::play);
    EXPECT_TRUE(timeline.isPlaying());
    timeline.toggle();
    timeline.handleTimeUpdate(9.85);
    EXPECT_EQ(timeline.toggle(), Toggle::restartAndPlay);

    // Without a length (none, or 0) play resumes in place.
    PlayerTimeline unknown;
    unknown.startedPlaying();
    unknown.toggle();
    unknown.handleTimeUpdate(3);
    EXPECT_EQ(unknown.toggle(), Toggle::play);
    PlayerTimeline zero;
    zero.setDuration(0);
    zero.startedPlaying();
    zero.toggle();
    EXPECT_EQ(zero.toggle(), Toggle::play);
}

TEST(PlayerTimelineTest, ScrubbingClampsPausesOnceAndResumesOnlyWhatRan)
{
    PlayerTimeline timeline = playingTimeline(8);
    auto first = timeline.scrub(-30, 200);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->pauseFirst);
    EXPECT_DOUBLE_EQ(first->seconds, 0);
    EXPECT_FALSE(timeline.isPlaying());
    auto beyond = timeline.scrub(260, 200);
    ASSERT_TRUE(beyond);
    EXPECT_FALSE(beyond->pauseFirst);
    EXPECT_DOUBLE_EQ(beyond->seconds, 8);
    EXPECT_DOUBLE_EQ(timeline.progress(), 1);
    // Times from the player during the drag change nothing.
    timeline.handleTimeUpdate(2);
    EXPECT_DOUBLE_EQ(timeline.currentTime(), 8);
    EXPECT_TRUE(timeline.endScrub());
    EXPECT_TRUE(timeline.isPlaying());
    EXPECT_FALSE(timeline.endScrub());

    timeline.toggle(); // paused
    ASSERT_TRUE(timeline.scrub(50, 200));
    EXPECT_DOUBLE_EQ(timeline.currentTime(), 2);
    EXPECT_FALSE(timeline.endScrub());
    EXPECT_FALSE(timeline.isPlaying());

    // No length or no width: nothing to seek.
    PlayerTimeline unknown;
    EXPECT_FALSE(unknown.scrub(10, 100));
    EXPECT_FALSE(timeline.scrub(10, 0));
}

TEST(PlayerTimelineTest, TimeTextShowsNonFiniteTimesAsZeroAndAnUnknownLengthAsZero)
{
    PlayerTimeline timeline;
    timeline.handleTimeUpdate(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(timeline.timeText(), QStringLiteral("0:00 / 0:00"));
    timeline.setDuration(3725);
    timeline.handleTimeUpdate(65);
    EXPECT_EQ(timeline.timeText(), QStringLiteral("1:05 / 1:02:05"));
}

TEST(PlayerTimelineTest, AspectRatioComesFromAPosterWithBothSides)
{
    EXPECT_NEAR(PlayerTimeline::aspectRatio(QImage(1920, 1080, QImage::Format_RGB32)), 1.7777, 1e-3);
    EXPECT_DOUBLE_EQ(PlayerTimeline::aspectRatio(std::nullopt), 1.6);
    EXPECT_DOUBLE_EQ(PlayerTimeline::aspectRatio(QImage()), 1.6);
}

} // namespace
} // namespace pomelark
