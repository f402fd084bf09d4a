#include "services/ExportCoordinator.h"
#include "services/FFmpegRunner.h"
#include "services/PhotoCost.h"
#include "services/PhotosService.h"
#include "services/ValidationService.h"

#include "platform/SystemErrorText.h"
#include "platform/SystemLog.h"
#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/HeifDecode.h"
#include "support/ReadFault.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

#include <QDirIterator>
#include <QMap>
#include <QMutex>
#include <QProcess>


#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

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

/// Photos of one July morning on the card, one item each, in the order named.
MediaItems morningPhotos(const TempFolder &card, const QStringList &names)
{
    MediaItems items;
    for (const QString &name : names) {
        const QString path = makeJpeg(card.filePath(u"DCIM/"_qs + name),
                                      {.size = QSize(320, 240), .dateTimeOriginal = u"2023:07:14 08:30:00"_qs});
        items.append({QUuid::createUuid(), QUrl::fromLocalFile(path), MediaItem::Kind::photo});
    }
    return items;
}

/// Each failure as "file name: reason", in the order they happened.
QStringList failureLines(const QList<ExportCoordinator::FailedItem> &failed)
{
    QStringList lines;
    for (const auto &failure : failed)
        lines << failure.item.url.fileName() + u": "_qs + failure.reason;
    return lines;
}

/// Bytes this process has read from files so far.
qint64 bytesReadSoFar()
{
    QFile io(u"/proc/self/io"_qs);
    io.open(QIODevice::ReadOnly);
    const QByteArray counts = io.readAll();
    const qsizetype at = counts.indexOf("rchar: ") + 7;
    return counts.mid(at, counts.indexOf('\n', at) - at).toLongLong();
}

/// The app's converter, with the card pulled while one photo is read: the read
/// comes up short and the card test turns true.
class CardPulledDuringOnePhoto : public ConvertService {
public:
    QCoro::Task<std::optional<QDateTime>> convertPhotoWithOwnDate(QUrl source, QUrl destination, bool highQuality,
                                                                 int rotation) override
    {
        if (source.fileName() == pulledDuring) {
            cutInScanData(source.toLocalFile());
            cardGone = true;
        }
        co_return co_await ConvertService::convertPhotoWithOwnDate(source, destination, highQuality, rotation);
    }

    QString pulledDuring;
    bool cardGone = false;
};

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
        // Our words for the cause, which the display language translates, not the system's English.
        EXPECT_EQ(error.message(), u"Couldn't add to Photos: "_qs + SystemErrorText::of(ENOENT));
    }
    EXPECT_EQ(PhotosService::libraryName(QStringLiteral("clip.2.MOV"), QStringLiteral("/x/AB.mov")),
              QStringLiteral("clip.2.mov"));
}

TEST(PhotosService, TheFirstAddSweepsOnlyOldLeftoversOfOurOwnDeadAdds)
{
    TempFolder folder;
    const QString root = folder.filePath(u"Photos"_qs);
    const QString day = root + u"/2024/05/01/"_qs;
    const QStringList kept = {
        makeTextFile(day + u"IMG_0001.heic"_qs),
        makeTextFile(day + u".pomelark-adding-Ab12Cd-mine"_qs), // not exactly our name
        makeTextFile(day + u".pomelark-adding-x"_qs),
        makeTextFile(day + u"pomelark-adding-Ab12Cd"_qs),
        makeTextFile(root + u"/.pomelark-adding-Ab12Cd"_qs), // never where an add writes
        folder.makeFolder(u"Photos/2024/05/01/.pomelark-adding-Qq11Ww"_qs),
        makeLink(day + u".pomelark-adding-Ll22Kk"_qs, day + u"IMG_0001.heic"_qs),
    };
    const QStringList leftovers = {makeTextFile(day + u".pomelark-adding-Ab12Cd"_qs),
                                   makeTextFile(root + u"/2023/12/31/.pomelark-adding-0zZ9aA"_qs)};
    const QString staged = makeTextFile(folder.filePath(u"staging/X.heic"_qs));
    const QDateTime date(QDate(2024, 5, 2), QTime(10, 0));

    // Young ones may be adds in progress elsewhere.
    PhotosService today(PhotoLibrary{root});
    awaitTask(today.addToLibrary(QUrl::fromLocalFile(staged), false, date, u"IMG_0002.JPG"_qs));
    for (const QString &path : kept + leftovers)
        EXPECT_TRUE(QFileInfo(path).exists() || QFileInfo(path).isSymLink()) << qPrintable(path);

    PhotosService later(PhotoLibrary{root});
    later.setClock([] { return QDateTime::currentDateTime().addDays(2); });
    awaitTask(later.addToLibrary(QUrl::fromLocalFile(staged), false, date, u"IMG_0003.JPG"_qs));
    for (const QString &path : kept)
        EXPECT_TRUE(QFileInfo(path).exists() || QFileInfo(path).isSymLink()) << qPrintable(path);
    for (const QString &path : leftovers)
        EXPECT_FALSE(QFileInfo::exists(path)) << qPrintable(path);
    EXPECT_TRUE(QFileInfo::exists(root + u"/2024/05/02/IMG_0003.heic"_qs));
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

TEST(SendEndToEnd, ThePhotoInFlightWhenTheCardGoesIsNotSent)
{
    TempFolder card, staging, pictures;
    const MediaItems items = morningPhotos(card, {u"IMG_0001.JPG"_qs, u"IMG_0002.JPG"_qs, u"IMG_0003.JPG"_qs});
    CardPulledDuringOnePhoto converter;
    converter.pulledDuring = u"IMG_0002.JPG"_qs;
    PhotosService photos(PhotoLibrary(pictures.filePath(u"Photos"_qs)));
    ExportCoordinator coordinator(converter, photos, staging.path());

    awaitTask(coordinator.exportItems(items, {.dateMode = DateMode::keep}, {},
                                      [&] { return converter.cardGone; }));

    const auto &phase = coordinator.phase();
    ASSERT_EQ(phase.kind, ExportCoordinator::Phase::Kind::finished);
    EXPECT_EQ(phase.successPhotos, 1);
    EXPECT_EQ(failureLines(phase.failed), QStringList({u"IMG_0002.JPG: Couldn't read the source file"_qs,
                                                       u"IMG_0003.JPG: The SD card was removed"_qs}));
    EXPECT_EQ(filesBelow(photos.library().root()), QStringList({u"2023/07/14/IMG_0001.heic"_qs}));
}

TEST(SendEndToEnd, TheNextPhotoIsReadAheadAndShowsNothingBeforeItsTurn)
{
    TempFolder card, staging, pictures;
    const MediaItems items =
        morningPhotos(card, {u"IMG_0001.JPG"_qs, u"IMG_0002.JPG"_qs, u"IMG_0003.JPG"_qs, u"IMG_0004.JPG"_qs});
    damageScanData(items[1].url.toLocalFile()); // its read-ahead fails, and so does its own read
    QMutex readsLock;
    QMap<QString, int> reads;
    ConvertService converter(defaultVideoConverter(), [&](const QString &path, int rotation, const FileSnapshot::Stamp &costed, std::stop_token stop) {
        {
            const QMutexLocker locker(&readsLock);
            ++reads[QFileInfo(path).fileName()];
        }
        return ConvertService::readSourcePhoto(path, rotation, costed, stop);
    });
    PhotosService photos(PhotoLibrary(pictures.filePath(u"Photos"_qs)));
    ExportCoordinator coordinator(converter, photos, staging.path());
    int cardTests = 0;

    // The card goes after the third photo, whose turn started the fourth's read-ahead.
    awaitTask(coordinator.exportItems(items, {.dateMode = DateMode::keep}, {{items[2].id, 90}},
                                      [&] { return ++cardTests == 4; }));

    const auto &phase = coordinator.phase();
    ASSERT_EQ(phase.kind, ExportCoordinator::Phase::Kind::finished);
    EXPECT_EQ(phase.successPhotos, 2);
    EXPECT_EQ(failureLines(phase.failed), QStringList({u"IMG_0002.JPG: Couldn't read the source file"_qs,
                                                       u"IMG_0004.JPG: The SD card was removed"_qs}));
    EXPECT_EQ(filesBelow(photos.library().root()),
              QStringList({u"2023/07/14/IMG_0001.heic"_qs, u"2023/07/14/IMG_0003.heic"_qs}));
    // Each photo sent was read once: what was read ahead (the turned one too)
    // served its turn. A failed read-ahead is tried again at its turn, where a
    // card that was out for a moment would be read whole.
    const QMutexLocker locker(&readsLock);
    EXPECT_EQ(reads.value(u"IMG_0001.JPG"_qs), 1);
    EXPECT_EQ(reads.value(u"IMG_0002.JPG"_qs), 2);
    EXPECT_EQ(reads.value(u"IMG_0003.JPG"_qs), 1);
}

TEST(SendEndToEnd, APhotoTooLargeForTheMemoryBudgetIsRefusedUnreadAndTheReadAheadWaitsForRoom)
{
    TempFolder card, staging, pictures;
    MediaItems items;
    for (const QSize size : {QSize(2000, 1500), QSize(640, 480), QSize(4000, 3000), QSize(640, 480)}) {
        const QString name = u"DCIM/IMG_%1.JPG"_qs.arg(items.size() + 1, 4, 10, QLatin1Char('0'));
        const QString path = makeJpeg(card.filePath(name), {.size = size, .grain = 6});
        items.append({QUuid::createUuid(), QUrl::fromLocalFile(path), MediaItem::Kind::photo});
    }
    const auto cost = [&](int index) { return *PhotoCost::ofFile(items[index].url.toLocalFile(), 0); };
    // Room for the first photo's conversion, but not beside it for the read of
    // the second; too little for the third.
    const qint64 budgetMB = (cost(0).peak(false) + (1 << 20) - 1) >> 20;
    ASSERT_LT(budgetMB << 20, cost(0).peak(false) + cost(1).reading());
    ASSERT_GT(cost(2).peak(false), budgetMB << 20);
    const ScopedEnv budget("POMELARK_MEMORY_MB", QByteArray::number(budgetMB));

    std::atomic_bool secondReadAfterFirstWritten = false, thirdRead = false;
    ConvertService converter(defaultVideoConverter(), [&](const QString &path, int rotation, const FileSnapshot::Stamp &costed, std::stop_token stop) {
        if (path == items[1].url.toLocalFile()) {
            const QStringList written = filesBelow(staging.path());
            secondReadAfterFirstWritten = written.size() == 1 && decodeHeic(staging.filePath(written[0]));
        }
        thirdRead = thirdRead || path == items[2].url.toLocalFile();
        return ConvertService::readSourcePhoto(path, rotation, costed, stop);
    });
    PhotosService photos(PhotoLibrary(pictures.filePath(u"Photos"_qs)));
    ExportCoordinator coordinator(converter, photos, staging.path());
    awaitTask(coordinator.exportItems(items, {.quality = QualityMode::size, .autoCleanup = false}, {},
                                      [] { return false; }));

    const auto &phase = coordinator.phase();
    ASSERT_EQ(phase.kind, ExportCoordinator::Phase::Kind::finished);
    EXPECT_EQ(phase.successPhotos, 3);
    EXPECT_EQ(failureLines(phase.failed),
              QStringList({u"IMG_0003.JPG: This photo is too large to convert on this computer"_qs}));
    // The second photo was read only once the first one's encode had let go
    // of its memory; the third not at all, and nothing of it was written.
    EXPECT_TRUE(secondReadAfterFirstWritten);
    EXPECT_FALSE(thirdRead);
    EXPECT_EQ(filesBelow(staging.path()).size(), 3);
}

TEST(SendEndToEnd, NoOrderOfTheConvertersCallsAndNoNumberOfSendsKeepsAConversionWaiting)
{
    TempFolder card, staging, pictures;
    MediaItems items;
    for (int index = 1; index <= 6; ++index) {
        const QString path = makeJpeg(card.filePath(u"DCIM/IMG_%1.JPG"_qs.arg(index, 4, 10, QLatin1Char('0'))),
                                      {.size = QSize(1600, 1200), .grain = 6});
        items.append({QUuid::createUuid(), QUrl::fromLocalFile(path), MediaItem::Kind::photo});
    }
    // Room for one photo's conversion, but not beside it for the next one's read.
    const PhotoCost cost = *PhotoCost::ofFile(items[0].url.toLocalFile(), 0);
    const qint64 budgetMB = (cost.peak(false) >> 20) + 1;
    ASSERT_LT(budgetMB << 20, cost.peak(false) + cost.reading());
    const ScopedEnv budget("POMELARK_MEMORY_MB", QByteArray::number(budgetMB));
    ConvertService converter;

    // Each photo's read-ahead asked for before the conversion of the photo
    // before it, which the converter's calls allow.
    const auto readAheadFirst = [&]() -> QCoro::Task<int> {
        int converted = 0;
        for (int index = 0; index < items.size(); ++index) {
            if (index + 1 < items.size())
                converter.readAhead(items[index + 1].url, 0, false);
            co_await converter.convertPhoto(items[index].url,
                                            QUrl::fromLocalFile(staging.filePath(u"%1.heic"_qs.arg(index))), false,
                                            std::nullopt, 0);
            ++converted;
        }
        co_return converted;
    };
    EXPECT_EQ(awaitTask(readAheadFirst(), std::chrono::seconds(90)), items.size());

    // Two sends at once through the one converter, each reading ahead.
    PhotosService photos(PhotoLibrary(pictures.filePath(u"Photos"_qs)));
    ExportCoordinator first(converter, photos, staging.filePath(u"first"_qs));
    ExportCoordinator second(converter, photos, staging.filePath(u"second"_qs));
    const ExportSettings small{.quality = QualityMode::size};
    const auto bothSends = [&]() -> QCoro::Task<void> {
        QCoro::Task<void> one = first.exportItems(items.mid(0, 3), small, {}, [] { return false; });
        QCoro::Task<void> other = second.exportItems(items.mid(3), small, {}, [] { return false; });
        co_await std::move(one);
        co_await std::move(other);
    };
    awaitTask(bothSends(), std::chrono::seconds(90));
    EXPECT_EQ(first.phase().successPhotos + second.phase().successPhotos, items.size());
}

TEST(SendEndToEnd, AProgramThatEndsDuringASendEndsCleanlyAndWritesNothingMore)
{
    TempFolder card, staging, pictures;
    // Large enough that its encode lasts; the second's read-ahead waits for memory.
    for (const QString &name : {u"IMG_0001.JPG"_qs, u"IMG_0002.JPG"_qs})
        makeJpeg(card.filePath(name), {.size = QSize(6000, 4000), .grain = 6});
    const PhotoCost cost = *PhotoCost::ofFile(card.filePath(u"IMG_0001.JPG"_qs), 0);
    const qint64 budgetMB = (cost.peak(false) >> 20) + 1;
    ASSERT_LT(budgetMB << 20, cost.peak(false) + cost.reading());
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"POMELARK_MEMORY_MB"_qs, QString::number(budgetMB));
    // The send it leaves behind stays suspended, never freed: no leak of ours.
    environment.insert(u"LSAN_OPTIONS"_qs, u"detect_leaks=0"_qs);
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);

    // It quits once the first photo's file is begun: as its encode starts.
    program.start(QStringLiteral(POMELARK_SEND_THEN_QUIT),
                  {card.path(), pictures.filePath(u"Photos"_qs), staging.path()});
    ASSERT_TRUE(program.waitForFinished(120'000));

    // Neither crashed nor killed; the encode was abandoned, not waited for, so
    // the file it began holds nothing, and nothing reached Photos.
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    const QStringList staged = filesBelow(staging.path());
    ASSERT_EQ(staged.size(), 1);
    EXPECT_EQ(QFileInfo(staging.filePath(staged[0])).size(), 0);
    EXPECT_EQ(filesBelow(pictures.path()), QStringList());
}

TEST(SendEndToEnd, EachFailureNamesItsTrueCauseOnOneLine)
{
    struct FakeProgramVideos : VideoConverter {
        QCoro::Task<QString> convertToHEVC(QUrl input, QUrl output, QString rate, std::optional<QString> time) override
        {
            // The camera's own clips go to the real program.
            FFmpegRunner &runner = input.fileName().startsWith(u"MVI_"_qs) ? real : fake;
            co_return co_await runner.convertToHEVC(input.toLocalFile(), output.toLocalFile(), rate, time);
        }
        FFmpegRunner fake{[] { return std::optional<QString>(QStringLiteral(POMELARK_FAKE_FFMPEG)); }};
        FFmpegRunner real;
    } videos;
    TempFolder card, staging, pictures;
    // Every video fails as on a card pulled mid-read; broken.mov still reads,
    // so its damage is the cause, gone.mov's file no longer opens, and
    // pulled.mov's card is seen to go.
    const ScopedEnv exit("FAKE_FFMPEG_EXIT", "1");
    const ScopedEnv log("FAKE_FFMPEG_LOG", "[NULL @ 0x55d0c0ffee00] Invalid NAL unit size (1260 > 713).\n"
                                           "/card/MVI.MOV: corrupt input packet in stream 0\n");
    MediaItems items = morningPhotos(card, {u"IMG_0001.JPG"_qs, u"IMG_0002.JPG"_qs, u"IMG_0003.JPG"_qs});
    truncateFile(items[1].url.toLocalFile(), qint64(3) << 30); // a photo, then a 3 GB hole
    // Put in a photo's place after validation: neither its read-ahead nor its
    // turn may wait for a writer to open it.
    QFile::remove(items[2].url.toLocalFile());
    const PipeReleaser stuck(makeFifo(items[2].url.toLocalFile()));
    for (const QString &path : {makeTextFile(card.filePath(u"broken.mov"_qs)),
                                makeVideo(card.filePath(u"MVI_0002.MOV"_qs)),
                                makeDanglingLink(card.filePath(u"gone.mov"_qs)),
                                makeTextFile(card.filePath(u"pulled.mov"_qs))})
        items.append({QUuid::createUuid(), QUrl::fromLocalFile(path), MediaItem::Kind::video});
    ConvertService converter(videos);
    PhotosService photos(PhotoLibrary(pictures.filePath(u"Photos"_qs)));
    ExportCoordinator coordinator(converter, photos, staging.path());
    SystemLog::Capture systemLog;
    // A full disk: the photo's write comes up short, then fails; ffmpeg's
    // writes fail likewise, as it inherits the limit.
    rlimit fileSize{};
    getrlimit(RLIMIT_FSIZE, &fileSize);
    const rlimit full{64, fileSize.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &full);
    const qint64 readBefore = bytesReadSoFar();
    awaitTask(coordinator.exportItems(items, {}, {}, [&] { return coordinator.currentName() == u"pulled.mov"_qs; }));
    setrlimit(RLIMIT_FSIZE, &fileSize);

    // Neither the read-ahead nor its turn read the huge one into memory.
    EXPECT_LT(bytesReadSoFar() - readBefore, 64 << 20);
    EXPECT_EQ(failureLines(coordinator.phase().failed),
              QStringList({u"IMG_0001.JPG: Conversion failed: The file is too large"_qs,
                           u"IMG_0002.JPG: This photo is too large to convert (over 512 MB)"_qs,
                           u"IMG_0003.JPG: Couldn't read the source file"_qs,
                           u"broken.mov: Couldn't read the source file"_qs,
                           u"MVI_0002.MOV: Conversion failed: The file is too large"_qs,
                           u"gone.mov: Couldn't read the source file"_qs, u"pulled.mov: The SD card was removed"_qs}));
    // ffmpeg's whole log is there for whoever looks into a failure, on one line.
    EXPECT_EQ(stuck.released(), 0) << "the send waited on a named pipe";
    ASSERT_EQ(systemLog.lines().size(), 11);
    EXPECT_TRUE(systemLog.lines().first().endsWith(u"713). | /card/MVI.MOV: corrupt input packet in stream 0"_qs));

    // A named pipe reads as empty, but it is no photo either.
    ASSERT_EQ(::mkfifo(QFile::encodeName(pictures.filePath(u"IMG_0002.JPG"_qs)).constData(), 0644), 0);
    const auto checked = awaitTask(ValidationService().validate(pictures.url(), [] { return true; }));
    ASSERT_EQ(checked.failed.size(), 1);
    EXPECT_EQ(checked.failed[0].message(), u"Couldn't read this file"_qs);
}

TEST(SendEndToEnd, APhotoIsSentWithTheMetadataOfTheReadItsPixelsCameFrom)
{
    TempFolder card, staging, pictures, elsewhere;
    const QMap<QString, QString> camera = {{u"Exif.Image.Make"_qs, u"Pomelark"_qs},
                                           {u"Exif.Photo.ExposureTime"_qs, u"1/250"_qs},
                                           {u"Exif.GPSInfo.GPSLatitude"_qs, u"37/1 33/1 0/1"_qs}};
    const QDateTime fileTime(QDate(2023, 7, 16), QTime(7, 0));
    const auto writeKeepingFileTime = [&](const QString &path, const QByteArray &content) {
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        file.write(content);
        file.flush();
        file.setFileTime(fileTime, QFileDevice::FileModificationTime);
        return path;
    };
    // Without a date of its own, so its file time dates it.
    const QString pulled = writeKeepingFileTime(makeJpeg(card.filePath(u"DCIM/IMG_0001.JPG"_qs), {.exif = camera}), {});
    JpegRecipe recipe{.orientation = 1, .dateTimeOriginal = u"2023:07:14 08:30:00"_qs};
    const QString rewritten = writeKeepingFileTime(makeJpeg(card.filePath(u"DCIM/IMG_0002.JPG"_qs), recipe), {});
    recipe.orientation = 3;
    recipe.dateTimeOriginal = u"2023:07:15 08:30:00"_qs;
    QByteArray rewrite = contentOf(makeJpeg(elsewhere.filePath(u"IMG_0002.JPG"_qs), recipe));
    ASSERT_EQ(rewrite.size(), QFileInfo(rewritten).size());

    ConvertService converter(defaultVideoConverter(), [&](const QString &path, int rotation, const FileSnapshot::Stamp &costed, std::stop_token stop) {
        ReadPhoto photo = ConvertService::readSourcePhoto(path, rotation, costed, stop);
        if (path == pulled) // the card goes once its pixels are read
            QFile::remove(path);
        // Rewritten in place after its read-ahead, its size and file time kept
        // (as some card drivers keep them); the change time moves at the
        // clock's coarse tick.
        if (path == rewritten && !rewrite.isEmpty()) {
            const QDateTime read = QFileInfo(path).metadataChangeTime();
            while (QFileInfo(path).metadataChangeTime() == read)
                writeKeepingFileTime(path, rewrite);
            rewrite.clear();
        }
        return photo;
    });
    PhotosService photos(PhotoLibrary(pictures.filePath(u"Photos"_qs)));
    ExportCoordinator coordinator(converter, photos, staging.path());
    const MediaItems items = {{QUuid::createUuid(), QUrl::fromLocalFile(pulled), MediaItem::Kind::photo},
                              {QUuid::createUuid(), QUrl::fromLocalFile(rewritten), MediaItem::Kind::photo}};
    awaitTask(coordinator.exportItems(items, {.dateMode = DateMode::keep}, {}, [] { return false; }));

    EXPECT_EQ(failureLines(coordinator.phase().failed), QStringList());
    const QString library = photos.library().root();
    ASSERT_EQ(filesBelow(library), QStringList({u"2023/07/15/IMG_0002.heic"_qs, u"2023/07/16/IMG_0001.heic"_qs}));
    const auto first = decodeHeic(library + u"/2023/07/16/IMG_0001.heic"_qs);
    const auto second = decodeHeic(library + u"/2023/07/15/IMG_0002.heic"_qs);
    ASSERT_TRUE(first && second);
    for (auto tag = camera.begin(); tag != camera.end(); ++tag)
        EXPECT_EQ(exifValue(first->exif, qPrintable(tag.key())).toStdString(), tag.value().toStdString());
    EXPECT_EQ(exifValue(first->exif, "Exif.Photo.DateTimeOriginal"), u"2023:07:16 07:00:00"_qs);
    EXPECT_EQ(exifValue(second->exif, "Exif.Photo.DateTimeOriginal"), u"2023:07:15 08:30:00"_qs);
    EXPECT_EQ(redCorner(second->shown), u"bottom-right"_qs) << "the pixels of the file as it is at its turn";
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
    EXPECT_EQ(phase.failed[0].reason, QStringLiteral("The SD card was removed"));
    EXPECT_EQ(phase.failed[1].reason, QStringLiteral("The SD card was removed"));
    EXPECT_TRUE(filesBelow(photos.library().root()).isEmpty());
}

TEST(SendEndToEnd, AVideoCutShortDamagedOrSwappedForAPipeIsNotSent)
{
    TempFolder card, staging, pictures;
    // Headers that promise two seconds over data that stops after one, between
    // two frames: ffmpeg reads what is there to its end and exits content.
    // Cut inside a packet, the same stops ffmpeg on a damaged packet; and a
    // picture that does not decode stops it in the decoder.
    using Cut = void (*)(const QString &, double);
    const std::tuple<QString, VideoRecipe, Cut> videos[]{
        {u"MVI_0001.AVI"_qs, {.format = VideoFormat::aviMjpeg}, cutAtPacketEdge},
        {u"MVI_0002.MOV"_qs, {.indexFirst = true}, cutAtPacketEdge},
        {u"MVI_0004.MP4"_qs, {.format = VideoFormat::mp4H264, .indexFirst = true}, cutInsidePacket},
        {u"MVI_0005.AVI"_qs, {.format = VideoFormat::aviMjpeg}, cutInsidePacket},
        {u"MVI_0006.MOV"_qs, {.pictureDamaged = true}, nullptr}};
    MediaItems items;
    for (const auto &[name, recipe, cut] : videos) {
        VideoRecipe twoSeconds = recipe;
        twoSeconds.seconds = 2.0;
        const QString path = makeVideo(card.filePath(u"DCIM/"_qs + name), twoSeconds);
        if (cut)
            cut(path, 0.5);
        items.append({QUuid::createUuid(), QUrl::fromLocalFile(path), MediaItem::Kind::video});
    }
    // Put in a video's place after validation: opening it would wait for a writer.
    const QString pipe = makeFifo(card.filePath(u"DCIM/MVI_0003.MOV"_qs));
    const PipeReleaser stuck(pipe);
    items.append({QUuid::createUuid(), QUrl::fromLocalFile(pipe), MediaItem::Kind::video});
    ConvertService converter(defaultVideoConverter());
    PhotosService photos(PhotoLibrary(pictures.filePath(u"Photos"_qs)));
    ExportCoordinator coordinator(converter, photos, staging.path());

    awaitTask(coordinator.exportItems(items, {}, {}, [] { return false; }));

    EXPECT_EQ(coordinator.phase().successVideos, 0);
    EXPECT_EQ(failureLines(coordinator.phase().failed),
              QStringList({u"MVI_0001.AVI: Couldn't read the source file"_qs,
                           u"MVI_0002.MOV: Couldn't read the source file"_qs,
                           u"MVI_0004.MP4: Couldn't read the source file"_qs,
                           u"MVI_0005.AVI: Couldn't read the source file"_qs,
                           u"MVI_0006.MOV: Couldn't read the source file"_qs,
                           u"MVI_0003.MOV: Couldn't read the source file"_qs}));
    EXPECT_EQ(stuck.released(), 0) << "the send waited on a named pipe";
    EXPECT_TRUE(filesBelow(photos.library().root()).isEmpty());
}
