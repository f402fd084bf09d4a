#include "services/ThumbnailService.h"

#include "services/CacheKey.h"
#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QUuid>

#include <gtest/gtest.h>

using namespace pomelark;
using pomelark::test::awaitTask;
using pomelark::test::TempFolder;

namespace {

MediaItem videoItem(const QString &path)
{
    return {QUuid::createUuid(), QUrl::fromLocalFile(path), MediaItem::Kind::video};
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

int lineCount(const QString &path)
{
    return int(readAll(path).count(QLatin1Char('\n')));
}

/// A service over a fresh cache folder, run by the fake ffmpeg that copies a
/// fixture JPEG as the poster and logs a length of 83.45 s.
class FakeThumbnailTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        argsFile = folder.filePath(QStringLiteral("args"));
        poster = test::makeJpeg(folder.filePath(QStringLiteral("frame.jpg")), {QSize(32, 24)});
        qputenv("FAKE_FFMPEG_ARGS_FILE", argsFile.toUtf8());
        qputenv("FAKE_FFMPEG_POSTER", poster.toUtf8());
        qputenv("FAKE_FFMPEG_LOG", "Input #0\n  Duration: 00:01:23.45, start: 0.000000, bitrate: 5 kb/s\n");
    }
    void TearDown() override
    {
        for (const char *name : {"FAKE_FFMPEG_ARGS_FILE", "FAKE_FFMPEG_POSTER", "FAKE_FFMPEG_LOG", "FAKE_FFMPEG_EXIT",
                                 "FAKE_FFMPEG_MODE", "FAKE_FFMPEG_GATE_DIR"})
            qunsetenv(name);
    }

    QString video(const QString &name) const
    {
        return test::makeTextFile(folder.filePath(QStringLiteral("card/") + name), "not really a video");
    }
    QString cacheFile(const QString &path, const char *extension) const
    {
        return cache.filePath(*CacheKey::of(path) + QLatin1String(extension));
    }
    QStringList cacheFiles() const { return QDir(cache.path()).entryList(QDir::Files); }

    TempFolder folder;
    TempFolder cache;
    QString argsFile;
    QString poster;
    FFmpegRunner runner{[] { return std::optional<QString>(QStringLiteral(POMELARK_FAKE_FFMPEG)); }};
    ThumbnailService service{cache.path(), runner};
};

} // namespace

TEST_F(FakeThumbnailTest, FirstRequestRunsFFmpegAndWritesBothFilesTheSecondReadsThem)
{
    const QString clip = video(QStringLiteral("clip 1.mov"));
    const VideoInfo first = awaitTask(service.videoInfo(QUrl::fromLocalFile(clip)));
    EXPECT_EQ(first.thumbnail.size(), QSize(32, 24));
    EXPECT_EQ(first.duration, 83.45);
    EXPECT_EQ(readAll(cacheFile(clip, ".info")), QStringLiteral("83.45"));
    EXPECT_EQ(cacheFiles().size(), 2) << cacheFiles().join(QLatin1Char(' ')).toStdString();

    const VideoInfo second = awaitTask(service.videoInfo(QUrl::fromLocalFile(clip)));
    EXPECT_EQ(second.duration, 83.45);
    EXPECT_EQ(second.thumbnail, first.thumbnail);
    EXPECT_EQ(lineCount(argsFile), 1);
    awaitTask(service.ensureCached(QUrl::fromLocalFile(clip)));
    EXPECT_EQ(lineCount(argsFile), 1);
}

TEST_F(FakeThumbnailTest, ATilesPosterIsHeldOnlyAsLargeAsTheTileWhileTheFileKeepsTheFrame)
{
    const QString frame = test::makeJpeg(folder.filePath(QStringLiteral("4k.jpg")), {QSize(3840, 2160)});
    qputenv("FAKE_FFMPEG_POSTER", frame.toUtf8());
    const QUrl clip = QUrl::fromLocalFile(video(QStringLiteral("clip.mov")));
    // Fresh from ffmpeg, then from the cache: the shorter side covers the tile.
    EXPECT_EQ(awaitTask(service.videoInfo(clip, 240)).thumbnail.size(), QSize(427, 240));
    EXPECT_EQ(awaitTask(service.videoInfo(clip, 240)).thumbnail.size(), QSize(427, 240));
    EXPECT_EQ(awaitTask(service.videoInfo(clip)).thumbnail.size(), QSize(3840, 2160)) << "the player's poster";
    EXPECT_EQ(QImage(cacheFile(clip.toLocalFile(), ".jpg")).size(), QSize(3840, 2160));
    EXPECT_EQ(lineCount(argsFile), 1);

    // A frame smaller than the tile is never enlarged.
    qputenv("FAKE_FFMPEG_POSTER", poster.toUtf8());
    const QUrl small = QUrl::fromLocalFile(video(QStringLiteral("small.mov")));
    EXPECT_EQ(awaitTask(service.videoInfo(small, 240)).thumbnail.size(), QSize(32, 24));
}

TEST_F(FakeThumbnailTest, ALogWithoutALengthCachesZero)
{
    qputenv("FAKE_FFMPEG_LOG", "  Duration: N/A, bitrate: N/A\n");
    const QString clip = video(QStringLiteral("clip.mov"));
    EXPECT_EQ(awaitTask(service.videoInfo(QUrl::fromLocalFile(clip))).duration, 0.0);
    EXPECT_EQ(readAll(cacheFile(clip, ".info")), QStringLiteral("0.0"));
}

TEST_F(FakeThumbnailTest, TouchingTheVideoMakesANewEntry)
{
    const QString clip = video(QStringLiteral("clip.mov"));
    awaitTask(service.videoInfo(QUrl::fromLocalFile(clip)));
    QFile file(clip);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    file.close();
    awaitTask(service.videoInfo(QUrl::fromLocalFile(clip)));
    EXPECT_EQ(lineCount(argsFile), 2);
    EXPECT_EQ(cacheFiles().size(), 4);
}

TEST_F(FakeThumbnailTest, DamagedOrOddInfoFilesAreMisses)
{
    const QString clip = video(QStringLiteral("clip.mov"));
    awaitTask(service.ensureCached(QUrl::fromLocalFile(clip)));
    const QString posterPath = cacheFile(clip, ".jpg");
    const QString infoPath = cacheFile(clip, ".info");

    const std::pair<QByteArray, std::optional<double>> cases[] = {
        {" 12.5 \n", 12.5}, {"12.5x", std::nullopt}, {"", std::nullopt}, {"12.\xff", std::nullopt},
    };
    for (const auto &[content, expected] : cases) {
        test::makeTextFile(infoPath, content);
        const std::optional<VideoInfo> cached = ThumbnailService::loadCached(posterPath, infoPath);
        EXPECT_EQ(cached ? std::optional<double>(cached->duration) : std::nullopt, expected) << content.data();
    }
    test::makeTextFile(infoPath, "12.5");
    test::makeTextFile(posterPath, "not a picture");
    EXPECT_FALSE(ThumbnailService::loadCached(posterPath, infoPath));
}

TEST_F(FakeThumbnailTest, APosterThatDoesNotDecodeFailsAndLeavesNoInfo)
{
    qputenv("FAKE_FFMPEG_POSTER", test::makeTextFile(folder.filePath(QStringLiteral("odd.jpg"))).toUtf8());
    const QString clip = video(QStringLiteral("clip.mov"));
    try {
        awaitTask(service.videoInfo(QUrl::fromLocalFile(clip)));
        FAIL() << "an undecodable poster was accepted";
    } catch (const ThumbnailError &error) {
        EXPECT_EQ(error.kind(), ThumbnailError::Kind::decodeFailed);
    }
    EXPECT_FALSE(QFile::exists(cacheFile(clip, ".info")));
}

TEST_F(FakeThumbnailTest, AFailedRunPassesTheErrorOnAndLeavesNoHalfEntry)
{
    qputenv("FAKE_FFMPEG_EXIT", "1");
    qputenv("FAKE_FFMPEG_LOG", "clip.mov: Invalid data found when processing input\n");
    const QString clip = video(QStringLiteral("clip.mov"));
    try {
        awaitTask(service.videoInfo(QUrl::fromLocalFile(clip)));
        FAIL() << "a failed run gave a poster";
    } catch (const FFmpegError &error) {
        EXPECT_EQ(error.stderrText(), QStringLiteral("clip.mov: Invalid data found when processing input"));
    }
    // The fake wrote its poster before failing; it never got the final name.
    EXPECT_TRUE(cacheFiles().isEmpty()) << cacheFiles().join(QLatin1Char(' ')).toStdString();

    try {
        awaitTask(service.videoInfo(QUrl::fromLocalFile(folder.filePath(QStringLiteral("missing.mov")))));
        FAIL() << "a missing video gave a poster";
    } catch (const ThumbnailError &error) {
        EXPECT_EQ(error.kind(), ThumbnailError::Kind::fileUnreadable);
    }
}

TEST_F(FakeThumbnailTest, PrewarmKeepsFourInWorkAndReportsEachItemOnce)
{
    const QString gate = folder.makeFolder(QStringLiteral("gate"));
    qputenv("FAKE_FFMPEG_MODE", "gate");
    qputenv("FAKE_FFMPEG_GATE_DIR", gate.toUtf8());
    MediaItems items;
    for (int i = 1; i <= 6; ++i)
        items << videoItem(video(QStringLiteral("v%1.mov").arg(i)));
    items.insert(2, videoItem(folder.filePath(QStringLiteral("card/vanished.mov"))));

    QList<std::pair<int, int>> reports;
    bool finished = false;
    auto run = [&]() -> QCoro::Task<void> {
        co_await service.prewarm(items, [&](int done, int total) { reports.append({done, total}); });
        finished = true;
    };
    QCoro::Task<void> running = run();

    auto started = [&] {
        QStringList names;
        for (const QString &line : readAll(gate + QStringLiteral("/started")).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            names << line.section(QLatin1Char(' '), 0, 0);
        return names;
    };
    // The vanished file fails at once and counts; four real runs fill the window.
    ASSERT_TRUE(test::spinUntil([&] { return started().size() == 4; }));
    // The processes note themselves in any order; which four started is what counts.
    QStringList firstFour = started();
    firstFour.sort();
    EXPECT_EQ(firstFour, (QStringList{"v1.mov", "v2.mov", "v3.mov", "v4.mov"}));
    EXPECT_EQ(reports.first(), std::make_pair(0, 7));
    EXPECT_EQ(reports.size(), 2);

    for (int i = 1; i <= 6; ++i)
        test::makeTextFile(gate + QStringLiteral("/release/v%1.mov").arg(i), "");
    ASSERT_TRUE(test::spinUntil([&] { return finished; }));

    QList<std::pair<int, int>> expected;
    for (int done = 0; done <= 7; ++done)
        expected.append({done, 7});
    EXPECT_EQ(reports, expected);
    for (const QString &line : readAll(gate + QStringLiteral("/started")).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        EXPECT_LE(line.section(QLatin1Char(' '), 1).toInt(), ThumbnailService::prewarmWindow) << line.toStdString();
    EXPECT_EQ(cacheFiles().size(), 12);
}

TEST_F(FakeThumbnailTest, PrewarmOfNothingReportsOnce)
{
    QList<std::pair<int, int>> reports;
    awaitTask(service.prewarm({}, [&](int done, int total) { reports.append({done, total}); }));
    EXPECT_EQ(reports, (QList<std::pair<int, int>>{{0, 0}}));
}

TEST(ThumbnailServiceWithFFmpeg, PostersAndLengthsOfEveryKindOfFixture)
{
    TempFolder folder;
    TempFolder cache;
    ThumbnailService service(cache.path());
    const struct {
        QString name;
        test::VideoRecipe recipe;
        QSize poster{160, 120};
    } fixtures[] = {
        {QStringLiteral("a.mov"), {test::VideoFormat::movH264, true, 2.0, {160, 120}}},
        {QStringLiteral("b.mp4"), {test::VideoFormat::mp4Hevc, true, 1.0, {160, 120}}},
        {QStringLiteral("c.avi"), {test::VideoFormat::aviMjpeg, true, 1.0, {160, 120}}},
        {QStringLiteral("silent.mov"), {test::VideoFormat::movH264, false, 1.0, {160, 120}}},
        // Stored in narrow and in wide pixels, as cameras write 4:3 and 16:9
        // video (HDV's 1440 × 1080 in 4:3 pixels too): the poster is the size
        // the player shows, but one that would pass 8192 a side is kept
        // within the frame's longer side in the same shape, short of what a
        // JPEG can hold.
        {QStringLiteral("narrow.avi"),
         {.format = test::VideoFormat::aviMjpeg, .size = {720, 480}, .pixelAspect = QStringLiteral("8/9")},
         {640, 480}},
        {QStringLiteral("wide.mp4"),
         {.format = test::VideoFormat::mp4H264, .size = {720, 576}, .pixelAspect = QStringLiteral("64/45")},
         {1024, 576}},
        {QStringLiteral("hdv.mp4"),
         {.format = test::VideoFormat::mp4H264, .size = {1440, 1080}, .pixelAspect = QStringLiteral("4/3")},
         {1920, 1080}},
        {QStringLiteral("tiny.avi"),
         {.format = test::VideoFormat::aviMjpeg, .size = {2, 2}, .pixelAspect = QStringLiteral("4/1")},
         {8, 2}},
        {QStringLiteral("widest.avi"),
         {.format = test::VideoFormat::aviMjpeg, .size = {16384, 16}, .pixelAspect = QStringLiteral("4/1")},
         {16384, 4}},
        {QStringLiteral("wider.avi"),
         {.format = test::VideoFormat::aviMjpeg, .size = {8192, 64}, .pixelAspect = QStringLiteral("4/1")},
         {8192, 16}},
    };
    for (const auto &[name, recipe, poster] : fixtures) {
        const QString clip = test::makeVideo(folder.filePath(name), recipe);
        const VideoInfo info = awaitTask(service.videoInfo(QUrl::fromLocalFile(clip)));
        EXPECT_EQ(info.thumbnail.size(), poster) << name.toStdString();
        EXPECT_NEAR(info.duration, recipe.seconds, 0.1) << name.toStdString();
    }

    const QString damaged = test::makeVideo(folder.filePath(QStringLiteral("damaged.mov")));
    test::truncateFile(damaged, 1500);
    EXPECT_THROW(awaitTask(service.videoInfo(QUrl::fromLocalFile(damaged))), FFmpegError);
    EXPECT_FALSE(QFile::exists(cache.filePath(*CacheKey::of(damaged) + QStringLiteral(".info"))));
}
