#include "services/CacheKey.h"
#include "services/FormatDuration.h"
#include "services/ThumbnailService.h"
#include "services/WorkingFolders.h"

#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

using namespace pomelark;
using pomelark::test::TempFolder;

TEST(FormatDuration, RoundsHalvesUpAndAddsHoursPastAnHour)
{
    const std::pair<double, const char *> cases[] = {
        {0, "0:00"},      {59.4, "0:59"},     {59.5, "1:00"},      {83.45, "1:23"},      {3599.4, "59:59"},
        {3600, "1:00:00"}, {90061, "25:01:01"}, {-3, "0:00"}, {std::nan(""), "0:00"},
    };
    for (const auto &[seconds, text] : cases)
        EXPECT_EQ(formatDuration(seconds), QString::fromLatin1(text)) << seconds;
}

TEST(ParseDuration, ReadsTheFirstDurationLineThatHasAComma)
{
    EXPECT_EQ(ThumbnailService::parseDuration(QStringLiteral(
                  "Input #0, mov\n  Duration: 00:01:23.45, start: 0.000000, bitrate: 1 kb/s\n")),
              83.45);
    EXPECT_EQ(ThumbnailService::parseDuration(QStringLiteral("\tDuration: 1:02:03.5, start")), 3723.5);
    EXPECT_EQ(ThumbnailService::parseDuration(QStringLiteral("Duration: 00:00:09\nDuration: 00:00:12.5, start")),
              12.5);
    // The search stops at the first line with a comma, even when its time is not one.
    EXPECT_EQ(ThumbnailService::parseDuration(QStringLiteral("Duration: N/A, start\nDuration: 00:00:12.5, x")),
              std::nullopt);
    EXPECT_EQ(ThumbnailService::parseDuration(QStringLiteral("Duration: 02:03, start")), std::nullopt);
    EXPECT_EQ(ThumbnailService::parseDuration(QStringLiteral("no length here\n")), std::nullopt);
    EXPECT_EQ(ThumbnailService::parseDuration(QString()), std::nullopt);
}

TEST(ParseDuration, TimePiecesMustBeNumbersThroughAndThrough)
{
    EXPECT_EQ(ThumbnailService::parseHMS(QStringLiteral("00:00:01.5")), 1.5);
    EXPECT_EQ(ThumbnailService::parseHMS(QStringLiteral("1::2:3")), 3723.0);
    EXPECT_EQ(ThumbnailService::parseHMS(QStringLiteral("00:00: 01")), std::nullopt);
    EXPECT_EQ(ThumbnailService::parseHMS(QStringLiteral("00:00:01s")), std::nullopt);
    EXPECT_EQ(ThumbnailService::parseHMS(QStringLiteral("00:00:inf")), std::nullopt);
    EXPECT_EQ(ThumbnailService::parseHMS(QStringLiteral("1:2:3:4")), std::nullopt);
}

TEST(CacheKey, IsTheDigestOfPathAndModificationTime)
{
    TempFolder folder;
    const QString path = test::makeTextFile(folder.filePath(QStringLiteral("clip ü.mov")));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::fromMSecsSinceEpoch(1700000000500, Qt::UTC),
                                 QFileDevice::FileModificationTime));
    file.close();
    const QByteArray expected = QCryptographicHash::hash(QByteArray(path.toUtf8() + "|1700000000.5"), QCryptographicHash::Sha256)
                                    .toHex();
    EXPECT_EQ(CacheKey::of(path), QString::fromLatin1(expected));

    // Touching gives a new key; a missing file has none.
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::fromMSecsSinceEpoch(1700000001000, Qt::UTC),
                                 QFileDevice::FileModificationTime));
    file.close();
    EXPECT_NE(CacheKey::of(path), QString::fromLatin1(expected));
    EXPECT_EQ(CacheKey::of(folder.filePath(QStringLiteral("gone.mov"))), std::nullopt);
}

TEST(CacheKey, NumbersAreWrittenShortestWithAFraction)
{
    EXPECT_EQ(CacheKey::roundTripText(83.45), QStringLiteral("83.45"));
    EXPECT_EQ(CacheKey::roundTripText(0), QStringLiteral("0.0"));
    EXPECT_EQ(CacheKey::roundTripText(1700000000), QStringLiteral("1700000000.0"));
    EXPECT_EQ(CacheKey::roundTripText(0.1 + 0.2), QStringLiteral("0.30000000000000004"));
    EXPECT_EQ(CacheKey::parseDecimal(CacheKey::roundTripText(0.1 + 0.2)), 0.1 + 0.2);
}

TEST(WorkingFolders, LiveInTheAppsOwnCacheFolder)
{
    TempFolder folder;
    const QByteArray saved = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", folder.path().toUtf8());
    const WorkingFolders folders = WorkingFolders::standard();
    qputenv("XDG_CACHE_HOME", saved);
    EXPECT_EQ(folders.root(), folder.filePath(QStringLiteral("Pomelark")));
    EXPECT_EQ(folders.videoThumbnails(), folder.filePath(QStringLiteral("Pomelark/video-thumbnails")));
    EXPECT_EQ(folders.videoPlayback(), folder.filePath(QStringLiteral("Pomelark/video-playback")));
    EXPECT_EQ(folders.exportStaging(), folder.filePath(QStringLiteral("Pomelark/export-staging")));
    EXPECT_EQ(folders.workspace(), folder.filePath(QStringLiteral("Pomelark/workspace")));
}
