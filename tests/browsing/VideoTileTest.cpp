#include "browsing/VideoTile.h"

#include "GridFixtures.h"
#include "platform/SystemLog.h"
#include "services/PlaybackPrewarmer.h"
#include "support/AsyncTest.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace pomelark {
namespace {

using test::FakeTileSources;
using test::spinUntil;
using State = PlaybackPrewarmer::State;

MediaItem video(const QString &name)
{
    return {QUuid::createUuid(), QUrl::fromLocalFile(QStringLiteral("/card/") + name), MediaItem::Kind::video};
}

struct PrewarmedVideos {
    test::ScriptedPreparation preparation;
    PlaybackPrewarmer prewarmer{preparation};
    MediaItems items{video(QStringLiteral("a.MOV")), video(QStringLiteral("b.MOV")), video(QStringLiteral("c.MOV")),
                     video(QStringLiteral("ready.MP4"))};

    PrewarmedVideos()
    {
        prewarmer.start(items);
        spinUntil([&] { return prewarmer.queue().size() == 2; });
    }
    ~PrewarmedVideos()
    {
        preparation.failAll();
        test::awaitTask(prewarmer.stop());
    }
};

TEST(VideoTileTest, TheBadgeFollowsThePrewarmerOutsideSelectMode)
{
    FakeTileSources fakes;
    test::ScriptedPreparation unused;
    PlaybackPrewarmer idle(unused); // never started: no entries
    VideoTile unknownToIt(video(QStringLiteral("x.MOV")), &idle, {}, {}, {}, fakes.sources().videoInfo);
    EXPECT_TRUE(unknownToIt.statusText().isEmpty());

    PrewarmedVideos videos;
    ASSERT_EQ(videos.prewarmer.queue().size(), 2);
    VideoTile converting(videos.items[0], &videos.prewarmer, {}, {}, {}, fakes.sources().videoInfo);
    VideoTile ready(videos.items[3], &videos.prewarmer, {}, {}, {}, fakes.sources().videoInfo);
    EXPECT_EQ(converting.statusText(), QStringLiteral("Preparing"));
    EXPECT_TRUE(ready.statusText().isEmpty());

    converting.setFlags({false, false, true}); // select mode hides it
    EXPECT_TRUE(converting.statusText().isEmpty());
    converting.setFlags({});

    // Before the poster arrives there is no badge either.
    fakes.hold(videos.items[1].url);
    VideoTile waiting(videos.items[1], &videos.prewarmer, {}, {}, {}, fakes.sources().videoInfo);
    EXPECT_TRUE(waiting.statusText().isEmpty());
    fakes.release(videos.items[1].url);
    ASSERT_TRUE(spinUntil([&] { return waiting.info().has_value(); }));
    EXPECT_EQ(waiting.statusText(), QStringLiteral("Preparing"));

    QSignalSpy repaints(&converting, &GridTile::changed);
    videos.preparation.failAll();
    ASSERT_TRUE(spinUntil([&] { return videos.prewarmer.state(videos.items[0].url) == State::failed; }));
    EXPECT_GT(repaints.count(), 0);
    EXPECT_EQ(converting.statusText(), QStringLiteral("Won't play"));
    EXPECT_EQ(converting.helpAt({20, 14}),
              QStringLiteral("This video just won't play, but sending it to Photos works fine"));
}

TEST(VideoTileTest, AClickMovesAQueuedVideoToTheFrontBeforeReporting)
{
    FakeTileSources fakes;
    PrewarmedVideos videos;
    const QUrl last = videos.items[2].url;
    ASSERT_EQ(videos.prewarmer.queue().last(), last);
    QList<QUrl> frontAtActivation;
    VideoTile tile(videos.items[2], &videos.prewarmer, {}, [&] { frontAtActivation << videos.prewarmer.queue().first(); },
                   {}, fakes.sources().videoInfo);
    EXPECT_TRUE(tile.click({60, 60}));
    EXPECT_EQ(frontAtActivation, QList<QUrl>{last});

    // Without an activate action the tile takes no click and reorders nothing.
    const QList<QUrl> before = videos.prewarmer.queue();
    VideoTile silent(videos.items[1], &videos.prewarmer, {}, {}, {}, fakes.sources().videoInfo);
    EXPECT_FALSE(silent.click({60, 60}));
    EXPECT_EQ(videos.prewarmer.queue(), before);
}

TEST(VideoTileTest, AFailedPosterIsLoggedAndKeepsThePlaceholder)
{
    FakeTileSources fakes;
    const MediaItem item = video(QStringLiteral("broken %s.MOV"));
    fakes.brokenVideos.insert(item.url);
    SystemLog::Capture log;
    int activations = 0;
    VideoTile tile(item, nullptr, {}, [&] { ++activations; }, {}, fakes.sources().videoInfo);
    EXPECT_FALSE(tile.info().has_value());
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("[VideoTile] thumbnail FAILED for broken %s.MOV: no frame")});
    EXPECT_TRUE(tile.click({60, 60})); // still usable
    EXPECT_EQ(activations, 1);
}

} // namespace
} // namespace pomelark
