#include "services/ExportCoordinator.h"
#include "services/PhotosService.h"

#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/HeifDecode.h"
#include "support/ReadFault.h"
#include "support/TempFolder.h"

#include <QDirIterator>
#include <QProcess>


#include <gtest/gtest.h>


using namespace pomelark;
using namespace pomelark::test;

namespace {

QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

TEST(PhotosService, AsksByMakingTheFolderAndNamesAddsAfterTheOriginal)
{
    TempFolder folder;
    PhotosService photos(PhotoLibrary(folder.filePath(QStringLiteral("Pictures/Photos"))));
    EXPECT_EQ(photos.authorizationStatus(), PhotosService::AuthorizationStatus::notDetermined);
    EXPECT_EQ(awaitTask(photos.requestAuthorization()), PhotosService::AuthorizationStatus::authorized);
    EXPECT_EQ(photos.authorizationStatus(), PhotosService::AuthorizationStatus::authorized);

    const QString staged = makeTextFile(folder.filePath(QStringLiteral("staging/6B1D-AB.heic")));
    const QDateTime date(QDate(2024, 5, 1), QTime(10, 20, 30));
    awaitTask(photos.addToLibrary(QUrl::fromLocalFile(staged), false, date, QStringLiteral("IMG_0042.JPG")));
    EXPECT_EQ(filesBelow(photos.library().root()), QStringList({QStringLiteral("2024/05/01/IMG_0042.heic")}));
    EXPECT_TRUE(QFileInfo::exists(staged));

    try {
        awaitTask(photos.addToLibrary(QUrl::fromLocalFile(folder.filePath(QStringLiteral("gone.heic"))), false, date,
                                      QStringLiteral("IMG_0043.JPG")));
        FAIL() << "added a missing file";
    } catch (const PhotosError &error) {
        EXPECT_EQ(error.kind, PhotosError::Kind::importFailed);
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Couldn't add to Photos: "))) << error.message().toStdString();
    }
    EXPECT_EQ(PhotosService::libraryName(QStringLiteral("clip.2.MOV"), QStringLiteral("/x/AB.mov")),
              QStringLiteral("clip.2.mov"));
}

TEST(SendEndToEnd, RealFilesArriveNamedAndDatedAndTheSourceStaysUntouched)
{
    TempFolder card, staging, pictures;
    const QString dcim = card.makeFolder(QStringLiteral("DCIM/100CAMERA"));
    const QString upright = makeJpeg(dcim + QStringLiteral("/IMG_0001.JPG"),
                                     {.size = QSize(320, 240), .dateTimeOriginal = QStringLiteral("2023:07:14 08:30:00")});
    const QString sideways = makeJpeg(dcim + QStringLiteral("/IMG_0002.JPG"),
                                      {.size = QSize(320, 240), .orientation = 6,
                                       .dateTimeOriginal = QStringLiteral("2023:07:15 09:00:00")});
    const QString clip = makeVideo(dcim + QStringLiteral("/MVI_0003.MOV"));
    const QDateTime clipTime(QDate(2023, 7, 16), QTime(18, 45, 0));
    {
        QFile file(clip);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(clipTime, QFileDevice::FileModificationTime);
    }
    const auto before = folderFingerprint(card.path());

    // The app's own video path: the ffmpeg runner with its HEVC argument list.
    ConvertService converter(defaultVideoConverter());
    PhotosService photos(PhotoLibrary(pictures.filePath(QStringLiteral("Photos"))));
    ExportCoordinator coordinator(converter, photos, staging.path());
    const MediaItems items = {
        {QUuid::createUuid(), QUrl::fromLocalFile(upright), MediaItem::Kind::photo},
        {QUuid::createUuid(), QUrl::fromLocalFile(sideways), MediaItem::Kind::photo},
        {QUuid::createUuid(), QUrl::fromLocalFile(clip), MediaItem::Kind::video},
    };
    awaitTask(coordinator.exportItems(items, {.dateMode = DateMode::keep, .quality = QualityMode::quality},
                                      {{items[1].id, 90}}, [] { return false; }));

    const auto &phase = coordinator.phase();
    ASSERT_EQ(phase.kind, ExportCoordinator::Phase::Kind::finished);
    for (const auto &failure : phase.failed)
        ADD_FAILURE() << failure.item.url.fileName().toStdString() << ": " << failure.reason.toStdString();
    EXPECT_EQ(phase.successPhotos, 2);
    EXPECT_EQ(phase.successVideos, 1);

    const QString library = photos.library().root();
    EXPECT_EQ(filesBelow(library), QStringList({QStringLiteral("2023/07/14/IMG_0001.heic"),
                                                QStringLiteral("2023/07/15/IMG_0002.heic"),
                                                QStringLiteral("2023/07/16/MVI_0003.mov")}));
    const auto first = decodeHeic(library + QStringLiteral("/2023/07/14/IMG_0001.heic"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->shown.size(), QSize(320, 240));
    EXPECT_EQ(exifValue(first->exif, "Exif.Photo.DateTimeOriginal"), QStringLiteral("2023:07:14 08:30:00"));
    const auto second = decodeHeic(library + QStringLiteral("/2023/07/15/IMG_0002.heic"));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->shown.size(), QSize(320, 240)) << "stood up, then turned a further quarter";
    EXPECT_EQ(redCorner(second->shown), QStringLiteral("bottom-right"));
    EXPECT_EQ(QFileInfo(library + QStringLiteral("/2023/07/16/MVI_0003.mov")).lastModified(), clipTime);

    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                 QStringLiteral("stream=codec_name:format_tags=creation_time"), QStringLiteral("-of"),
                 QStringLiteral("default=nw=1"), library + QStringLiteral("/2023/07/16/MVI_0003.mov")});
    probe.waitForFinished(60000);
    const QString facts = QString::fromUtf8(probe.readAllStandardOutput());
    EXPECT_TRUE(facts.contains(QStringLiteral("codec_name=hevc"))) << facts.toStdString();
    EXPECT_TRUE(facts.contains(QStringLiteral("creation_time=") + clipTime.toUTC().toString(Qt::ISODate).chopped(1)))
        << facts.toStdString();

    EXPECT_EQ(folderFingerprint(card.path()), before);
    EXPECT_TRUE(QDir(staging.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST(SendEndToEnd, AVideoTheCardTookMidReadIsNotSent)
{
    TempFolder card, staging, pictures, gate;
    const QString clip = makeVideo(card.filePath(QStringLiteral("DCIM/MVI_0001.MOV")), {.seconds = 3.0});
    const QString still = makeJpeg(card.filePath(QStringLiteral("DCIM/IMG_0002.JPG")));
    // ffmpeg reads a third of the video, then the card goes.
    const ReadFault cardPulled(clip, QFileInfo(clip).size() / 3, gate.path());
    ConvertService converter(defaultVideoConverter());
    PhotosService photos(PhotoLibrary(pictures.filePath(QStringLiteral("Photos"))));
    ExportCoordinator coordinator(converter, photos, staging.path());
    bool cardMissing = false;
    const MediaItems items = {{QUuid::createUuid(), QUrl::fromLocalFile(clip), MediaItem::Kind::video},
                              {QUuid::createUuid(), QUrl::fromLocalFile(still), MediaItem::Kind::photo}};
    QCoro::Task<void> send = coordinator.exportItems(items, {.autoCleanup = true}, {}, [&] { return cardMissing; });
    ASSERT_TRUE(spinUntil([&] { return QFileInfo::exists(gate.filePath(QStringLiteral("reached"))); }));
    cardMissing = true;
    makeTextFile(gate.filePath(QStringLiteral("pulled")), "");
    awaitTask(std::move(send));

    const auto &phase = coordinator.phase();
    EXPECT_EQ(phase.successVideos + phase.successPhotos, 0);
    ASSERT_EQ(phase.failed.size(), 2);
    EXPECT_TRUE(phase.failed[0].reason.startsWith(QStringLiteral("ffmpeg exited with code ")))
        << phase.failed[0].reason.toStdString();
    EXPECT_EQ(phase.failed[1].reason, QStringLiteral("The SD card was removed"));
    EXPECT_TRUE(filesBelow(photos.library().root()).isEmpty());
}
