#include "support/SteppedTime.h"

#include "app/PreparingPacer.h"

#include <QRandomGenerator>
#include <QSet>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace std::chrono_literals;

namespace {

class PreparingPacerTest : public testing::Test {
protected:
    // Preparing began `ago` before the pacer starts.
    std::unique_ptr<PreparingPacer> startedAfter(std::chrono::nanoseconds ago, bool finale = false)
    {
        auto pacer = std::make_unique<PreparingPacer>(time.clock.now(), finale, time.ticker, &random);
        time.step(ago);
        pacer->start();
        return pacer;
    }

    // Steps time until the caption changes; returns when, from the start time.
    double nextCaptionChange(PreparingPacer &pacer, std::chrono::nanoseconds startedAt)
    {
        const int tick = pacer.deck().captionTick();
        for (int frame = 0; frame < 5000 && pacer.deck().captionTick() == tick; ++frame)
            time.step(1ms);
        return secondsBetween(startedAt, time.clock.now());
    }

    test::SteppedTime time;
    QRandomGenerator random{7};
};

} // namespace

TEST_F(PreparingPacerTest, CaptionsChangeOnTheGridFromTheStartTime)
{
    const auto startedAt = time.clock.now();
    auto pacer = startedAfter(0s);
    EXPECT_EQ(pacer->shownCaption().text, u"Bringing your photos in"_qs);
    time.step(1399ms);
    EXPECT_EQ(pacer->deck().captionTick(), 0);
    EXPECT_NEAR(nextCaptionChange(*pacer, startedAt), 1.4, 0.002);
    EXPECT_NEAR(nextCaptionChange(*pacer, startedAt), 2.8, 0.002);
    EXPECT_NEAR(nextCaptionChange(*pacer, startedAt), 4.2, 0.002);
    EXPECT_EQ(pacer->deck().captionTick(), 3);
}

TEST_F(PreparingPacerTest, AWaitIsNeverShorterThanTheMinimum)
{
    EXPECT_EQ(PreparingPacer::captionWait(0ns), 1400ms);
    EXPECT_EQ(PreparingPacer::captionWait(1400ms), 1400ms);
    EXPECT_EQ(PreparingPacer::captionWait(2800ms), 1400ms);
    EXPECT_EQ(PreparingPacer::captionWait(1000ms), 400ms);
    EXPECT_EQ(PreparingPacer::captionWait(1370ms), 50ms);

    // Started 30 ms before a grid point: the change lands just after it.
    const auto startedAt = time.clock.now();
    auto pacer = startedAfter(1370ms);
    EXPECT_NEAR(nextCaptionChange(*pacer, startedAt), 1.42, 0.002);
    EXPECT_NEAR(nextCaptionChange(*pacer, startedAt), 2.8, 0.002);
}

TEST_F(PreparingPacerTest, TheBarReachesNinetyPercentFiveSecondsAfterTheStart)
{
    auto onTime = startedAfter(0s);
    EXPECT_DOUBLE_EQ(onTime->barFill(), 0.0);
    time.step(2500ms);
    EXPECT_NEAR(onTime->barFill(), 0.45, 0.01);
    time.step(2500ms);
    EXPECT_NEAR(onTime->barFill(), 0.9, 1e-9);

    auto late = startedAfter(3s);
    EXPECT_NEAR(late->barFill(), 0.54, 1e-9);
    time.step(1s);
    EXPECT_NEAR(late->barFill(), 0.72, 0.01);
    time.step(1s);
    EXPECT_NEAR(late->barFill(), 0.9, 1e-9);

    auto veryLate = startedAfter(6s);
    EXPECT_NEAR(veryLate->barFill(), 0.9, 1e-9);
    time.step(3s);
    EXPECT_NEAR(veryLate->barFill(), 0.9, 1e-9);
}

TEST_F(PreparingPacerTest, MotionsChangeAfterTheirHoldAndNeverRepeat)
{
    auto pacer = startedAfter(0s);
    QSet<TuppoMotionKind> seen;
    for (int change = 0; change < 60; ++change) {
        const TuppoMotionKind before = pacer->motion();
        seen.insert(before);
        EXPECT_NE(before, TuppoMotionKind::Hop);
        EXPECT_NE(before, TuppoMotionKind::Wiggle);
        const auto hold = std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::duration<double>(PreparingPacer::motionHold(before)));
        time.step(hold - 30ms);
        ASSERT_EQ(pacer->motion(), before);
        time.step(40ms);
        ASSERT_NE(pacer->motion(), before) << "after " << PreparingPacer::motionHold(before) << " s";
    }
    EXPECT_EQ(seen.size(), 10);
    EXPECT_EQ(PreparingPacer::motionHold(TuppoMotionKind::Doze), 3.4);
    EXPECT_EQ(PreparingPacer::motionHold(TuppoMotionKind::Snip), 1.6);
}

TEST_F(PreparingPacerTest, TheFinaleFillsTheBarAndStopsBothLoops)
{
    auto pacer = startedAfter(0s);
    time.step(2s);
    const double before = pacer->barFill();
    pacer->setFinale(true);
    EXPECT_EQ(pacer->shownCaption(), PreparingCaption::finale());
    EXPECT_EQ(pacer->captionIdentity(), -1);
    time.step(250ms);
    EXPECT_GT(pacer->barFill(), before);
    EXPECT_LT(pacer->barFill(), 1.0);
    time.step(260ms);
    EXPECT_DOUBLE_EQ(pacer->barFill(), 1.0);

    const int tick = pacer->deck().captionTick();
    const TuppoMotionKind motion = pacer->motion();
    time.step(10s);
    EXPECT_EQ(pacer->deck().captionTick(), tick);
    EXPECT_EQ(pacer->motion(), motion);
    EXPECT_FALSE(pacer->isLooping());
    EXPECT_FALSE(time.ticker.contains(pacer.get()));
}

TEST_F(PreparingPacerTest, AScreenBornInTheFinaleOnlyCreepsTowardsNinetyPercent)
{
    auto pacer = startedAfter(0s, true);
    EXPECT_EQ(pacer->shownCaption(), PreparingCaption::finale());
    time.step(6s);
    EXPECT_NEAR(pacer->barFill(), 0.9, 1e-9);
    EXPECT_EQ(pacer->deck().captionTick(), 0);
    EXPECT_FALSE(pacer->isLooping());
}

TEST_F(PreparingPacerTest, NothingMovesBeforeStartOrAfterDestruction)
{
    {
        PreparingPacer pacer(time.clock.now(), false, time.ticker, &random);
        time.step(3s);
        EXPECT_EQ(pacer.deck().captionTick(), 0);
        EXPECT_DOUBLE_EQ(pacer.barFill(), 0.0);
        pacer.start();
        EXPECT_TRUE(time.ticker.contains(&pacer));
    }
    // The ticker must not call a pacer that is gone.
    time.step(3s);
}

TEST(CaptionDeck, EveryCaptionOncePerPassAndNeverTwiceInARow)
{
    ASSERT_EQ(PreparingCaption::all().size(), 59);
    for (quint32 seed : {1u, 2u, 3u}) {
        QRandomGenerator random(seed);
        CaptionDeck deck(&random);
        QSet<QString> firstPass;
        QString previous = deck.caption().text;
        for (int change = 1; change <= 59 * 4; ++change) {
            deck.advance();
            EXPECT_EQ(deck.captionTick(), change);
            const QString shown = deck.caption().text;
            EXPECT_NE(shown, previous);
            EXPECT_NE(shown, PreparingCaption::opening().text);
            if (change <= 59)
                firstPass.insert(shown);
            previous = shown;
        }
        EXPECT_EQ(firstPass.size(), 59);
    }
}

TEST(CaptionDeck, LaterPassesHoldEveryCaptionButTheOneOnScreen)
{
    QRandomGenerator random(11);
    CaptionDeck deck(&random);
    for (int change = 0; change < 59; ++change)
        deck.advance();
    ASSERT_TRUE(deck.deck().isEmpty());
    const PreparingCaption last = deck.caption();
    deck.advance();
    EXPECT_EQ(deck.deck().size(), 57);
    EXPECT_FALSE(deck.deck().contains(last));
    EXPECT_FALSE(deck.deck().contains(deck.caption()));
}

TEST(PreparingMotions, ThePoolIsEveryKindButHopAndWiggle)
{
    const QList<TuppoMotionKind> expected{TuppoMotionKind::Peek,  TuppoMotionKind::Hum,    TuppoMotionKind::Blow,
                                          TuppoMotionKind::Stamp, TuppoMotionKind::Stretch, TuppoMotionKind::Snip,
                                          TuppoMotionKind::Search, TuppoMotionKind::Nod,   TuppoMotionKind::Doze,
                                          TuppoMotionKind::Aww};
    EXPECT_EQ(PreparingPacer::motionPool(), expected);
    QRandomGenerator random(5);
    QSet<TuppoMotionKind> chosen;
    for (int i = 0; i < 500; ++i) {
        const TuppoMotionKind next = PreparingPacer::nextMotion(TuppoMotionKind::Nod, &random);
        EXPECT_NE(next, TuppoMotionKind::Nod);
        chosen.insert(next);
    }
    EXPECT_EQ(chosen.size(), 9);
}
