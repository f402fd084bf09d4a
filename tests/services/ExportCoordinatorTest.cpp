#include "services/ExportCoordinator.h"

#include "platform/SystemLog.h"
#include "support/AsyncTest.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace pomelark::test;
using Kind = ExportCoordinator::Phase::Kind;

namespace {

struct Conversion {
    QString name;
    QUrl destination;
    bool highQuality = false;
    std::optional<QDateTime> date;
    int rotation = 0;
    QStringList filesBefore; ///< what the job folder held when it started
};

/// Writes a stand-in file for every item, except those it is told to fail
/// (`failing`: nothing written; `failingPartWritten`: a part left behind).
class FakeConvertService : public ConvertService {
public:
    QCoro::Task<void> convertPhoto(QUrl source, QUrl destination, bool highQuality, std::optional<QDateTime> date,
                                   int rotation) override
    {
        co_await convert(source, destination, highQuality, date, rotation);
    }
    QCoro::Task<std::optional<QDateTime>> convertPhotoWithOwnDate(QUrl source, QUrl destination, bool highQuality,
                                                                 int rotation) override
    {
        co_await convert(source, destination, highQuality, std::nullopt, rotation);
        co_return ownDates.value(source.fileName());
    }
    QCoro::Task<void> convertVideo(QUrl source, QUrl destination, bool highQuality,
                                   std::optional<QDateTime> date) override
    {
        co_await convert(source, destination, highQuality, date, 0);
    }

    QList<Conversion> conversions;
    /// What each photo's own read dates it by, by file name.
    QHash<QString, QDateTime> ownDates;
    QSet<QString> failing;
    QSet<QString> failingPartWritten;
    /// Stopped as this one's conversion begins: it and all later ones throw WorkStopped.
    QString stopsAt;

private:
    bool stopped = false;
    QCoro::Task<void> convert(QUrl source, QUrl destination, bool highQuality, std::optional<QDateTime> date,
                              int rotation)
    {
        const QFileInfo output(destination.toLocalFile());
        conversions.append({source.fileName(), destination, highQuality, date, rotation,
                            output.dir().entryList(QDir::Files)});
        stopped = stopped || source.fileName() == stopsAt;
        if (stopped)
            throw WorkStopped();
        if (failing.contains(source.fileName()))
            throw ConvertError(ConvertError::Kind::encodingFailed);
        QFile file(output.filePath());
        if (!file.open(QIODevice::WriteOnly))
            throw ConvertError(ConvertError::Kind::destinationFailed);
        file.write("converted");
        if (failingPartWritten.contains(source.fileName()))
            throw ConvertError(ConvertError::Kind::encodingFailed);
        co_return;
    }
};

struct Add {
    QString stagedFile;
    bool isVideo = false;
    std::optional<QDateTime> date;
    QString originalName;
};

class FakePhotosService : public PhotosService {
public:
    AuthorizationStatus authorizationStatus() const override { return status; }
    QCoro::Task<AuthorizationStatus> requestAuthorization() override
    {
        ++requests;
        co_return afterRequest;
    }
    QCoro::Task<void> addToLibrary(QUrl fileURL, bool isVideo, std::optional<QDateTime> date,
                                   QString originalName) override
    {
        EXPECT_TRUE(QFileInfo::exists(fileURL.toLocalFile())) << "added a file that is not there";
        adds.append({fileURL.toLocalFile(), isVideo, date, originalName});
        if (failing.contains(originalName))
            throw PhotosError::importFailed(QStringLiteral("disk full"));
        co_return;
    }

    AuthorizationStatus status = AuthorizationStatus::authorized;
    AuthorizationStatus afterRequest = AuthorizationStatus::authorized;
    int requests = 0;
    QList<Add> adds;
    QSet<QString> failing;
};

MediaItem photo(const QString &name)
{
    return {QUuid::createUuid(), QUrl::fromLocalFile(QStringLiteral("/card/DCIM/") + name), MediaItem::Kind::photo};
}

MediaItem video(const QString &name)
{
    return {QUuid::createUuid(), QUrl::fromLocalFile(QStringLiteral("/card/DCIM/") + name), MediaItem::Kind::video};
}

class ExportCoordinatorTest : public testing::Test {
protected:
    void run(const MediaItems &items, ExportSettings settings = {}, QHash<QUuid, int> rotations = {},
             std::function<bool()> isCardMissing = [] { return false; })
    {
        awaitTask(coordinator.exportItems(items, settings, rotations, std::move(isCardMissing)));
    }
    QStringList stagedFiles() const
    {
        QStringList files;
        for (const QString &job : QDir(staging.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            for (const QString &file : QDir(staging.filePath(job)).entryList(QDir::Files))
                files << job + QLatin1Char('/') + file;
        return files;
    }
    QStringList jobFolders() const { return QDir(staging.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot); }
    static QStringList reasons(const ExportCoordinator::Phase &phase)
    {
        QStringList texts;
        for (const auto &failure : phase.failed)
            texts << failure.item.url.fileName() + QStringLiteral(": ") + failure.reason;
        return texts;
    }

    TempFolder staging;
    FakeConvertService converter;
    FakePhotosService photos;
    ExportCoordinator coordinator{converter, photos, staging.path()};
};

} // namespace

TEST_F(ExportCoordinatorTest, StartsIdle)
{
    EXPECT_EQ(coordinator.phase().kind, Kind::idle);
    EXPECT_EQ(coordinator.progress(), 0.0);
    EXPECT_EQ(coordinator.totalItems(), 0);
    EXPECT_EQ(coordinator.doneItems(), 0);
    EXPECT_EQ(coordinator.currentName(), QString());
}

TEST_F(ExportCoordinatorTest, SendsEveryItemInOrderAndCleansUp)
{
    const MediaItems items = {photo(QStringLiteral("IMG_1.JPG")), photo(QStringLiteral("IMG_2.JPG")),
                              video(QStringLiteral("MVI_3.MOV"))};
    QList<Kind> phases;
    QList<int> indices;
    QObject::connect(&coordinator, &ExportCoordinator::phaseChanged, [&] {
        phases << coordinator.phase().kind;
        if (coordinator.phase().kind == Kind::running) {
            indices << coordinator.phase().currentIndex;
            EXPECT_EQ(coordinator.phase().currentName, coordinator.currentName());
        }
    });
    QHash<QUuid, int> rotations{{items[1].id, 270}};
    run(items, {.dateMode = DateMode::keep, .quality = QualityMode::size, .autoCleanup = true}, rotations);

    EXPECT_EQ(phases, QList<Kind>({Kind::requestingPermission, Kind::running, Kind::running, Kind::running,
                                   Kind::finished}));
    EXPECT_EQ(indices, QList<int>({0, 1, 2}));
    const auto &phase = coordinator.phase();
    EXPECT_EQ(phase.successPhotos, 2);
    EXPECT_EQ(phase.successVideos, 1);
    EXPECT_TRUE(phase.failed.isEmpty());
    EXPECT_EQ(coordinator.doneItems(), 3);
    EXPECT_EQ(coordinator.progress(), 1.0);
    EXPECT_EQ(coordinator.currentName(), QStringLiteral("MVI_3.MOV"));

    ASSERT_EQ(converter.conversions.size(), 3);
    EXPECT_EQ(converter.conversions[0].rotation, 0) << "no rotation stored means none";
    EXPECT_EQ(converter.conversions[1].rotation, 270);
    EXPECT_FALSE(converter.conversions[0].highQuality);
    EXPECT_TRUE(converter.conversions[0].destination.fileName().endsWith(QStringLiteral(".heic")));
    EXPECT_TRUE(converter.conversions[2].destination.fileName().endsWith(QStringLiteral(".mov")));
    // The copies of one send share a job folder.
    EXPECT_EQ(QFileInfo(converter.conversions[0].destination.toLocalFile()).dir(),
              QFileInfo(converter.conversions[2].destination.toLocalFile()).dir());

    ASSERT_EQ(photos.adds.size(), 3);
    EXPECT_EQ(photos.adds[0].originalName, QStringLiteral("IMG_1.JPG"));
    EXPECT_FALSE(photos.adds[0].isVideo);
    EXPECT_TRUE(photos.adds[2].isVideo);
    EXPECT_TRUE(jobFolders().isEmpty()) << "cleanup removes the job folder";
}

TEST_F(ExportCoordinatorTest, OneFailureNeverStopsTheRest)
{
    converter.failing = {QStringLiteral("b.jpg")};
    photos.failing = {QStringLiteral("d.mov")};
    QList<int> done;
    QList<double> progress;
    QObject::connect(&coordinator, &ExportCoordinator::doneItemsChanged, [&] { done << coordinator.doneItems(); });
    QObject::connect(&coordinator, &ExportCoordinator::progressChanged, [&] { progress << coordinator.progress(); });

    run({photo(QStringLiteral("a.jpg")), photo(QStringLiteral("b.jpg")), photo(QStringLiteral("c.jpg")),
         video(QStringLiteral("d.mov"))},
        {.autoCleanup = false});

    EXPECT_EQ(done, QList<int>({1, 2, 3, 4}));
    EXPECT_EQ(progress, QList<double>({0.25, 0.5, 0.75, 1.0}));
    const auto &phase = coordinator.phase();
    EXPECT_EQ(phase.kind, Kind::finished);
    EXPECT_EQ(phase.successPhotos, 2);
    EXPECT_EQ(phase.successVideos, 0);
    EXPECT_EQ(reasons(phase), QStringList({QStringLiteral("b.jpg: Conversion failed"),
                                           QStringLiteral("d.mov: Couldn't add to Photos: disk full")}));
    EXPECT_NE(phase.failed[0].id, phase.failed[1].id);
    // Without cleanup every converted copy stays in the one job folder.
    EXPECT_EQ(jobFolders().size(), 1);
    EXPECT_EQ(stagedFiles().size(), 3);
}

TEST_F(ExportCoordinatorTest, AStoppedConverterEndsTheSendAndFailsNothingItDidNotTry)
{
    converter.stopsAt = QStringLiteral("b.jpg");
    run({photo(QStringLiteral("a.jpg")), photo(QStringLiteral("b.jpg")), video(QStringLiteral("c.mov"))});
    const auto &phase = coordinator.phase();
    EXPECT_EQ(phase.kind, Kind::finished);
    EXPECT_EQ(phase.successPhotos, 1);
    EXPECT_EQ(reasons(phase), QStringList());
    EXPECT_EQ(converter.conversions.size(), 2);
    EXPECT_EQ(coordinator.doneItems(), 1);
    EXPECT_TRUE(jobFolders().isEmpty());
}

TEST_F(ExportCoordinatorTest, EveryFailureIsLoggedWithItsReasonWhenTheSendEnds)
{
    converter.failing = {QStringLiteral("b.jpg")};
    photos.failing = {QStringLiteral("c.mov")};
    {
        SystemLog::Capture log;
        run({photo(QStringLiteral("a.jpg")), photo(QStringLiteral("b.jpg")), video(QStringLiteral("c.mov")),
             photo(QStringLiteral("d.jpg"))},
            {}, {}, [&] { return converter.conversions.size() == 3; });
        EXPECT_EQ(log.lines(),
                  QStringList({u"[ExportCoordinator] send FAILED for b.jpg: Conversion failed"_qs,
                               u"[ExportCoordinator] send FAILED for c.mov: Couldn't add to Photos: disk full"_qs,
                               u"[ExportCoordinator] send FAILED for d.jpg: The SD card was removed"_qs}));
    }
    // A send without failures says nothing.
    SystemLog::Capture quiet;
    run({photo(QStringLiteral("a.jpg"))});
    EXPECT_TRUE(quiet.lines().isEmpty());
}

TEST_F(ExportCoordinatorTest, WithCleanupAFailedItemsCopyGoesBeforeTheNextItem)
{
    // A part-written conversion and a copy Photos refused would otherwise fill a
    // small disk under the items after them.
    converter.failingPartWritten = {QStringLiteral("a.mov")};
    photos.failing = {QStringLiteral("b.mov")};
    run({video(QStringLiteral("a.mov")), video(QStringLiteral("b.mov")), video(QStringLiteral("c.mov"))},
        {.autoCleanup = true});
    ASSERT_EQ(converter.conversions.size(), 3);
    for (const Conversion &next : {converter.conversions[1], converter.conversions[2]})
        EXPECT_TRUE(next.filesBefore.isEmpty()) << next.name.toStdString() << " found "
                                                << next.filesBefore.join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(coordinator.phase().successVideos, 1);
}

TEST_F(ExportCoordinatorTest, ACardPulledBeforeTheStartFailsEverything)
{
    const MediaItems items = {photo(QStringLiteral("a.jpg")), video(QStringLiteral("b.mov"))};
    run(items, {}, {}, [] { return true; });
    const auto &phase = coordinator.phase();
    EXPECT_EQ(phase.kind, Kind::finished);
    EXPECT_EQ(phase.successPhotos + phase.successVideos, 0);
    EXPECT_EQ(reasons(phase), QStringList({QStringLiteral("a.jpg: The SD card was removed"),
                                           QStringLiteral("b.mov: The SD card was removed")}));
    EXPECT_EQ(coordinator.doneItems(), 0);
    EXPECT_EQ(coordinator.progress(), 0.0);
    EXPECT_TRUE(converter.conversions.isEmpty());
    EXPECT_TRUE(jobFolders().isEmpty());
}

TEST_F(ExportCoordinatorTest, ACardPulledMidwayKeepsWhatWasSent)
{
    MediaItems items;
    for (int i = 1; i <= 5; ++i)
        items << photo(QStringLiteral("p%1.jpg").arg(i));
    int asked = 0;
    run(items, {}, {}, [&] { return ++asked > 2; });
    const auto &phase = coordinator.phase();
    EXPECT_EQ(phase.successPhotos, 2);
    EXPECT_EQ(reasons(phase), QStringList({QStringLiteral("p3.jpg: The SD card was removed"),
                                           QStringLiteral("p4.jpg: The SD card was removed"),
                                           QStringLiteral("p5.jpg: The SD card was removed")}));
    EXPECT_EQ(coordinator.doneItems(), 2);
    EXPECT_DOUBLE_EQ(coordinator.progress(), 0.4);
    EXPECT_EQ(asked, 3) << "asked once per item started, and once more for the first one not started";
}

TEST_F(ExportCoordinatorTest, RefusedAccessTouchesNothing)
{
    photos.status = PhotosService::AuthorizationStatus::notDetermined;
    photos.afterRequest = PhotosService::AuthorizationStatus::denied;
    run({photo(QStringLiteral("a.jpg"))});
    EXPECT_EQ(photos.requests, 1);
    EXPECT_EQ(coordinator.phase().kind, Kind::permissionDenied);
    EXPECT_EQ(coordinator.totalItems(), 0);
    EXPECT_TRUE(converter.conversions.isEmpty());
    EXPECT_TRUE(jobFolders().isEmpty());

    // Restricted access is refused without asking again.
    photos.status = PhotosService::AuthorizationStatus::restricted;
    run({photo(QStringLiteral("a.jpg"))});
    EXPECT_EQ(photos.requests, 1);
    EXPECT_EQ(coordinator.phase().kind, Kind::permissionDenied);

    // Asking may also grant it.
    photos.status = PhotosService::AuthorizationStatus::notDetermined;
    photos.afterRequest = PhotosService::AuthorizationStatus::limited;
    run({photo(QStringLiteral("a.jpg"))});
    EXPECT_EQ(coordinator.phase().successPhotos, 1);
}

TEST_F(ExportCoordinatorTest, NoItemsFinishesAtOnce)
{
    for (bool cleanup : {true, false}) {
        run({}, {.autoCleanup = cleanup});
        EXPECT_EQ(coordinator.phase(), ExportCoordinator::Phase::finished(0, 0, {}));
        EXPECT_EQ(coordinator.totalItems(), 0);
        EXPECT_EQ(coordinator.progress(), 0.0);
        EXPECT_EQ(jobFolders().size(), cleanup ? 0 : 1);
    }
}

TEST_F(ExportCoordinatorTest, DatesComeFromTheClockOrTheItem)
{
    QDateTime now(QDate(2024, 6, 1), QTime(12, 0, 0));
    coordinator.setClock([&] {
        now = now.addSecs(5);
        return now;
    });
    const MediaItems items = {photo(QStringLiteral("a.jpg")), video(QStringLiteral("b.mov"))};
    run(items, {.dateMode = DateMode::now});
    ASSERT_EQ(photos.adds.size(), 2);
    EXPECT_EQ(converter.conversions[0].date, QDateTime(QDate(2024, 6, 1), QTime(12, 0, 5)));
    EXPECT_EQ(converter.conversions[1].date, QDateTime(QDate(2024, 6, 1), QTime(12, 0, 10)));
    EXPECT_EQ(photos.adds[1].date, converter.conversions[1].date);

    // Kept dates come from the items themselves: a photo's from its conversion's
    // read of it; these files do not exist.
    converter.conversions.clear();
    photos.adds.clear();
    converter.ownDates[u"a.jpg"_qs] = QDateTime(QDate(2023, 7, 14), QTime(8, 30));
    run(items, {.dateMode = DateMode::keep});
    EXPECT_EQ(converter.conversions[0].date, std::nullopt);
    EXPECT_EQ(photos.adds[0].date, QDateTime(QDate(2023, 7, 14), QTime(8, 30)));
    EXPECT_EQ(photos.adds[1].date, std::nullopt);
}

TEST(ExportSettings, RawTextsRoundTrip)
{
    EXPECT_EQ(dateModeFromText(QStringLiteral("now")), DateMode::now);
    EXPECT_EQ(dateModeFromText(rawText(DateMode::keep)), DateMode::keep);
    EXPECT_EQ(qualityModeFromText(QStringLiteral("size")), QualityMode::size);
    EXPECT_EQ(qualityModeFromText(rawText(QualityMode::quality)), QualityMode::quality);
    EXPECT_EQ(dateModeFromText(QStringLiteral("Now")), std::nullopt);
    EXPECT_EQ(qualityModeFromText(QString()), std::nullopt);
    EXPECT_EQ(sizeof(ExportSettings), 3u);
}
