#include "services/PlaybackPrewarmer.h"

#include "support/AsyncTest.h"

#include <QSignalSpy>
#include <QUuid>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace pomelark;
using namespace pomelark::test;
using State = PlaybackPrewarmer::State;
using QuickCheckResult = PlaybackPreparation::QuickCheckResult;

namespace {

QUrl video(int n)
{
    return QUrl::fromLocalFile(QStringLiteral("/card/MVI_%1.AVI").arg(n));
}

MediaItems videos(std::initializer_list<int> numbers)
{
    MediaItems items;
    for (int n : numbers)
        items.append({QUuid::createUuid(), video(n), MediaItem::Kind::video});
    return items;
}

/// A playable-video cache whose checks and conversions end when the test says.
class FakePreparation : public PlaybackPreparation {
public:
    QSet<QUrl> playable;
    bool holdQuickChecks = false;
    bool sharedWithViewer = false;
    QList<QUrl> conversionsStarted;
    QList<QUrl> stopRequests;

    QCoro::Task<QuickCheckResult> quickCheck(QUrl source) override
    {
        if (holdQuickChecks)
            co_await m_quickGate.wait();
        co_return playable.contains(source) ? QuickCheckResult::alreadyPlayable : QuickCheckResult::needsTranscode;
    }

    QCoro::Task<QUrl> playableURL(QUrl source, std::shared_ptr<PlaybackRequest> request) override
    {
        conversionsStarted.append(source);
        auto conversion = std::make_shared<SharedOutcome<bool>>();
        m_conversions.insert(source, conversion);
        // A withdrawn conversion ends unless the viewer waits for it too.
        request->setOnWithdraw([this, source] {
            stopRequests.append(source);
            if (!sharedWithViewer)
                finish(source, false);
        });
        const bool succeeded = co_await conversion->wait();
        if (!succeeded)
            throw std::runtime_error("conversion failed");
        co_return source;
    }

    void finish(const QUrl &source, bool succeeded)
    {
        if (auto conversion = m_conversions.value(source); conversion && !conversion->isSet())
            conversion->setValue(succeeded);
    }

    void releaseQuickChecks() { m_quickGate.setValue(true); }

private:
    SharedOutcome<bool> m_quickGate;
    QHash<QUrl, std::shared_ptr<SharedOutcome<bool>>> m_conversions;
};

} // namespace

TEST(PlaybackPrewarmer, AnEmptyListLeavesNoStatesAndAFinishedWorker)
{
    FakePreparation fake;
    PlaybackPrewarmer prewarmer(fake);
    prewarmer.start({});
    EXPECT_TRUE(prewarmer.states().isEmpty());
    ASSERT_TRUE(spinUntil([&] { return !prewarmer.isWorking(); }));
    awaitTask(prewarmer.stop());
}

TEST(PlaybackPrewarmer, ConvertsTheUnplayableOneAtATimeAndMarksEachAsItEnds)
{
    FakePreparation fake;
    fake.playable = {video(2)};
    PlaybackPrewarmer prewarmer(fake);
    QSignalSpy changes(&prewarmer, &PlaybackPrewarmer::statesChanged);
    prewarmer.start(videos({1, 2, 3, 4}));
    EXPECT_EQ(prewarmer.state(video(1)), State::unknown);

    ASSERT_TRUE(spinUntil([&] { return fake.conversionsStarted.size() == 1; }));
    EXPECT_EQ(prewarmer.state(video(2)), State::ready); // no conversion for it
    for (int n : {1, 3, 4})
        EXPECT_EQ(prewarmer.state(video(n)), State::prewarming);
    EXPECT_EQ(prewarmer.queue().size(), 2);
    EXPECT_GT(changes.count(), 1);

    const QUrl first = fake.conversionsStarted.first();
    fake.finish(first, true);
    ASSERT_TRUE(spinUntil([&] { return fake.conversionsStarted.size() == 2; }));
    EXPECT_EQ(prewarmer.state(first), State::ready);
    const QUrl second = fake.conversionsStarted.last();
    fake.finish(second, false);
    ASSERT_TRUE(spinUntil([&] { return fake.conversionsStarted.size() == 3; }));
    EXPECT_EQ(prewarmer.state(second), State::failed);
    fake.finish(fake.conversionsStarted.last(), true);
    ASSERT_TRUE(spinUntil([&] { return !prewarmer.isWorking(); }));
    EXPECT_FALSE(fake.conversionsStarted.contains(video(2)));
    EXPECT_EQ(QSet<QUrl>(fake.conversionsStarted.begin(), fake.conversionsStarted.end()),
              QSet<QUrl>({video(1), video(3), video(4)}));
    awaitTask(prewarmer.stop());
    EXPECT_TRUE(prewarmer.states().isEmpty());
}

TEST(PlaybackPrewarmer, APrioritisedVideoIsConvertedNextAndOtherCallsChangeNothing)
{
    FakePreparation fake;
    PlaybackPrewarmer prewarmer(fake);
    prewarmer.start(videos({1, 2, 3}));
    ASSERT_TRUE(spinUntil([&] { return fake.conversionsStarted.size() == 1; }));
    const QUrl converting = fake.conversionsStarted.first();
    const QList<QUrl> waiting = prewarmer.queue();
    ASSERT_EQ(waiting.size(), 2);

    prewarmer.prioritize(converting);
    prewarmer.prioritize(video(99));
    prewarmer.prioritize(waiting.first());
    EXPECT_EQ(prewarmer.queue(), waiting);

    prewarmer.prioritize(waiting.last());
    EXPECT_EQ(prewarmer.queue(), QList<QUrl>({waiting.last(), waiting.first()}));
    fake.finish(converting, true);
    ASSERT_TRUE(spinUntil([&] { return fake.conversionsStarted.size() == 2; }));
    EXPECT_EQ(fake.conversionsStarted.last(), waiting.last());
    fake.finish(waiting.last(), true);
    ASSERT_TRUE(spinUntil([&] { return fake.conversionsStarted.size() == 3; }));
    EXPECT_EQ(fake.conversionsStarted.last(), waiting.first());
    fake.finish(waiting.first(), true);
    awaitTask(prewarmer.stop());
}

TEST(PlaybackPrewarmer, StopEndsTheConversionAndNeverMarksItReady)
{
    FakePreparation fake;
    PlaybackPrewarmer prewarmer(fake);
    prewarmer.start(videos({1, 2}));
    ASSERT_TRUE(spinUntil([&] { return fake.conversionsStarted.size() == 1; }));
    QList<State> statesOfFirst;
    const QUrl first = fake.conversionsStarted.first();
    QObject::connect(&prewarmer, &PlaybackPrewarmer::statesChanged, &prewarmer,
                     [&] { statesOfFirst.append(prewarmer.state(first)); });

    awaitTask(prewarmer.stop());
    EXPECT_EQ(fake.stopRequests, QList<QUrl>({first}));
    EXPECT_TRUE(prewarmer.states().isEmpty());
    EXPECT_FALSE(statesOfFirst.contains(State::ready));
    EXPECT_FALSE(statesOfFirst.contains(State::failed));
    EXPECT_EQ(fake.conversionsStarted.size(), 1); // nothing more started
    EXPECT_FALSE(prewarmer.isWorking());
}

TEST(PlaybackPrewarmer, StopWaitsForAConversionTheViewerSharesThenClearsEverything)
{
    FakePreparation fake;
    fake.sharedWithViewer = true;
    PlaybackPrewarmer prewarmer(fake);
    prewarmer.start(videos({1}));
    ASSERT_TRUE(spinUntil([&] { return fake.conversionsStarted.size() == 1; }));
    bool stopped = false;
    auto stopping = [&]() -> QCoro::Task<void> {
        co_await prewarmer.stop();
        stopped = true;
    };
    auto task = stopping();
    EXPECT_FALSE(spinUntil([&] { return stopped; }, std::chrono::milliseconds(100)));
    fake.finish(video(1), true);
    awaitTask(std::move(task));
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(prewarmer.states().isEmpty());
}

TEST(PlaybackPrewarmer, StopDuringTheQuickChecksQueuesAndConvertsNothing)
{
    FakePreparation fake;
    fake.holdQuickChecks = true;
    PlaybackPrewarmer prewarmer(fake);
    prewarmer.start(videos({1, 2, 3}));
    bool stopped = false;
    auto stopping = [&]() -> QCoro::Task<void> {
        co_await prewarmer.stop();
        stopped = true;
    };
    auto task = stopping();
    EXPECT_FALSE(stopped); // the checks still run
    fake.releaseQuickChecks();
    awaitTask(std::move(task));
    EXPECT_TRUE(fake.conversionsStarted.isEmpty());
    EXPECT_TRUE(prewarmer.states().isEmpty());
    EXPECT_TRUE(prewarmer.queue().isEmpty());
}

TEST(PlaybackPrewarmer, AStartAfterAStopBeginsAfresh)
{
    FakePreparation fake;
    fake.playable = {video(1), video(2)};
    PlaybackPrewarmer prewarmer(fake);
    prewarmer.start(videos({1}));
    ASSERT_TRUE(spinUntil([&] { return prewarmer.state(video(1)) == State::ready; }));
    awaitTask(prewarmer.stop());
    prewarmer.start(videos({2}));
    EXPECT_FALSE(prewarmer.states().contains(video(1)));
    ASSERT_TRUE(spinUntil([&] { return prewarmer.state(video(2)) == State::ready; }));
    awaitTask(prewarmer.stop());
}
