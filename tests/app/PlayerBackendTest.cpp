// What our player (Qt Multimedia on its ffmpeg backend, with frames taken from a
// QVideoSink) does with each kind of camera video: this is the evidence behind
// MediaProbe's rule of what plays without a playable copy.
#include "platform/MediaProbe.h"

#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QMediaPlayer>
#include <QVideoFrame>
#include <QVideoSink>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace pomelark::test;

namespace {

struct PlayerRun {
    bool loaded = false;
    bool framesAfterPlay = false;
    qint64 seekTarget = 0;   ///< microseconds
    qint64 frameAfterSeek = -1;
    bool reachedEnd = false;
    bool failed = false;
};

PlayerRun play(const QString &path)
{
    PlayerRun run;
    QMediaPlayer player;
    QVideoSink sink;
    // No audio output: without a sound device Qt 6.4's ffmpeg backend crashes in
    // its audio renderer, and this is about pictures.
    player.setVideoSink(&sink);
    int frames = 0;
    qint64 lastStart = -1;
    QObject::connect(&sink, &QVideoSink::videoFrameChanged, &sink, [&](const QVideoFrame &frame) {
        if (!frame.isValid())
            return;
        ++frames;
        lastStart = frame.startTime();
    });
    QObject::connect(&player, &QMediaPlayer::mediaStatusChanged, &player, [&](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::LoadedMedia)
            run.loaded = true;
        if (status == QMediaPlayer::EndOfMedia)
            run.reachedEnd = true;
        if (status == QMediaPlayer::InvalidMedia)
            run.failed = true;
    });
    QObject::connect(&player, &QMediaPlayer::errorOccurred, &player, [&] { run.failed = true; });

    player.setSource(QUrl::fromLocalFile(path));
    spinUntil([&] { return run.loaded || run.failed; }, std::chrono::seconds(30));
    if (run.failed)
        return run;
    player.play();
    run.framesAfterPlay = spinUntil([&] { return frames >= 3 || run.failed; }, std::chrono::seconds(10)) && frames >= 3;
    player.pause();
    run.seekTarget = player.duration() * 1000 / 2;
    lastStart = -1;
    player.setPosition(player.duration() / 2);
    // A frame decoded before the pause may still be on its way on a busy machine;
    // wait for one from the seek (at most one frame early).
    spinUntil([&] { return lastStart >= run.seekTarget - 40000 || run.failed; }, std::chrono::seconds(30));
    run.frameAfterSeek = lastStart;
    player.play();
    spinUntil([&] { return run.reachedEnd || run.failed; }, std::chrono::seconds(60));
    return run;
}

} // namespace

TEST(PlayerBackend, PlaysSeeksAndEndsEveryCameraFormatTheProbeCallsPlayable)
{
    TempFolder folder;
    const QList<std::pair<QString, VideoRecipe>> videos = {
        {QStringLiteral("h264.mov"), {.format = VideoFormat::movH264, .seconds = 2.0}},
        {QStringLiteral("h264-silent.mov"), {.format = VideoFormat::movH264, .audio = false, .seconds = 2.0}},
        {QStringLiteral("hevc.mp4"), {.format = VideoFormat::mp4Hevc, .seconds = 2.0}},
        {QStringLiteral("mjpeg.avi"), {.format = VideoFormat::aviMjpeg, .seconds = 2.0}},
        {QStringLiteral("mpeg4.avi"), {.format = VideoFormat::aviMpeg4, .seconds = 2.0}},
        {QStringLiteral("mpeg4-silent.avi"), {.format = VideoFormat::aviMpeg4, .audio = false, .seconds = 2.0}},
        {QStringLiteral("h264-full-range.mov"), {.seconds = 2.0, .pixelFormat = QStringLiteral("yuvj420p")}},
        {QStringLiteral("h264-422.mov"), {.seconds = 2.0, .pixelFormat = QStringLiteral("yuv422p")}},
        {QStringLiteral("h264-10bit.mov"), {.seconds = 2.0, .pixelFormat = QStringLiteral("yuv420p10le")}},
        {QStringLiteral("hevc-main10.mp4"),
         {.format = VideoFormat::mp4Hevc, .seconds = 2.0, .pixelFormat = QStringLiteral("yuv420p10le")}},
    };
    for (const auto &[name, recipe] : videos) {
        const QString path = makeVideo(folder.filePath(name), recipe);
        const auto info = MediaProbe::probeForPlayback(path);
        ASSERT_TRUE(info && info->isPlayable()) << name.toStdString();
        const PlayerRun run = play(path);
        EXPECT_TRUE(run.loaded) << name.toStdString();
        EXPECT_FALSE(run.failed) << name.toStdString();
        EXPECT_TRUE(run.framesAfterPlay) << name.toStdString();
        // Accurate to one frame (25 per second).
        EXPECT_NEAR(double(run.frameAfterSeek), double(run.seekTarget), 40000.0) << name.toStdString();
        EXPECT_TRUE(run.reachedEnd) << name.toStdString();
    }
}

TEST(PlayerBackend, ADamagedFileFailsInTheProbeAndThePlayerAlike)
{
    TempFolder folder;
    const QString path = makeVideo(folder.filePath(QStringLiteral("cut.mov")), {.seconds = 2.0});
    truncateFile(path, 3000);
    EXPECT_FALSE(MediaProbe::probe(path));
    const PlayerRun run = play(path);
    EXPECT_TRUE(run.failed);
    EXPECT_FALSE(run.framesAfterPlay);
}
