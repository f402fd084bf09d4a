#include "services/ValidationService.h"

#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>
#include <QTranslator>

#include <atomic>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace pomelark::test;
using Reason = ValidationFailure::Reason;

namespace {

QString relative(const TempFolder &folder, const QUrl &url)
{
    return QDir(folder.path()).relativeFilePath(url.toLocalFile());
}

ValidationOutcome validate(const TempFolder &folder, std::function<bool()> isStillPresent = [] { return true; })
{
    ValidationService service;
    return awaitTask(service.validate(folder.url(), std::move(isStillPresent)));
}

} // namespace

TEST(ValidationService, SortsEveryKindOfFileIntoValidAndFailed)
{
    TempFolder folder;
    makeJpeg(folder.filePath(QStringLiteral("a-good.jpg")));
    const QString cut = makeJpeg(folder.filePath(QStringLiteral("b-cut.jpg")), {.size = QSize(600, 400)});
    truncateFileToShare(cut, 0.5);
    fixturePicture(QSize(30, 20)).save(folder.filePath(QStringLiteral("c-png.jpg")), "PNG");
    makeTextFile(folder.filePath(QStringLiteral("d-text.jpg")));
    makeEmptyFile(folder.filePath(QStringLiteral("e-zero.jpeg")));
    makeDanglingLink(folder.filePath(QStringLiteral("f-dangling.jpg")));
    makeJpeg(folder.filePath(QStringLiteral("g-grey.JPG")), {.colour = JpegColour::grey});
    makeJpeg(folder.filePath(QStringLiteral("h-cmyk.jpg")), {.colour = JpegColour::cmyk});
    makeVideo(folder.filePath(QStringLiteral("v1.mov")), {.format = VideoFormat::movH264});
    makeVideo(folder.filePath(QStringLiteral("v2.mp4")), {.format = VideoFormat::mp4Hevc, .audio = false});
    makeVideo(folder.filePath(QStringLiteral("v3.avi")), {.format = VideoFormat::aviMjpeg});
    makeVideo(folder.filePath(QStringLiteral("v4.AVI")), {.format = VideoFormat::aviMpeg4});
    makeJpeg(folder.filePath(QStringLiteral("v5-photo.mov")));
    const QString cutVideo = makeVideo(folder.filePath(QStringLiteral("v6-cut.mp4")), {.format = VideoFormat::mp4Hevc});
    truncateFileToShare(cutVideo, 0.6);
    makeEmptyFile(folder.filePath(QStringLiteral("v7-zero.mov")));
    makeTextFile(folder.filePath(QStringLiteral("v8-text.mov")));

    int asked = 0;
    const ValidationOutcome outcome = validate(folder, [&] {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        ++asked;
        return true;
    });

    QStringList valid;
    for (const MediaItem &item : outcome.valid)
        valid << relative(folder, item.url);
    EXPECT_EQ(valid, QStringList({QStringLiteral("a-good.jpg"), QStringLiteral("b-cut.jpg"), QStringLiteral("c-png.jpg"),
                                  QStringLiteral("g-grey.JPG"), QStringLiteral("h-cmyk.jpg"), QStringLiteral("v1.mov"),
                                  QStringLiteral("v2.mp4"), QStringLiteral("v3.avi"), QStringLiteral("v4.AVI")}));

    QList<std::pair<QString, Reason>> failed;
    for (const ValidationFailure &failure : outcome.failed) {
        failed.append({relative(folder, failure.sourceURL), failure.reason});
        EXPECT_FALSE(failure.id.isNull());
    }
    const QList<std::pair<QString, Reason>> expected = {
        {QStringLiteral("d-text.jpg"), Reason::corruptPhoto},    {QStringLiteral("e-zero.jpeg"), Reason::emptyFile},
        {QStringLiteral("f-dangling.jpg"), Reason::unreadable},  {QStringLiteral("v5-photo.mov"), Reason::corruptVideo},
        {QStringLiteral("v6-cut.mp4"), Reason::corruptVideo},    {QStringLiteral("v7-zero.mov"), Reason::emptyFile},
        {QStringLiteral("v8-text.mov"), Reason::corruptVideo},
    };
    EXPECT_EQ(failed, expected);
    EXPECT_EQ(outcome.totalScanned, 16);
    EXPECT_EQ(asked, 16 + 7) << "once before each file, and again after each failure";
}

TEST(ValidationService, NamesThatAreNotUtf8AreReportedUnreadable)
{
    TempFolder folder;
    makeJpeg(folder.filePath(QStringLiteral("a.jpg")));
    // Latin-1 names, as old cameras and other systems write them.
    const QByteArray root = QFile::encodeName(folder.path());
    auto makeRaw = [](const QByteArray &path) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        ASSERT_GE(fd, 0) << path.constData();
        ASSERT_EQ(::write(fd, "not empty", 9), 9);
        ::close(fd);
    };
    makeRaw(root + "/caf\xe9.jpg");
    ASSERT_EQ(::mkdir(QByteArray(root + "/d\xe9j\xe0").constData(), 0755), 0);
    makeRaw(root + "/d\xe9j\xe0/clip.mov");
    // What a name that does round-trip would wrongly be read as, if it were used.
    makeJpeg(QFile::decodeName(root + "/caf\xe9.jpg"));

    int asked = 0;
    const ValidationOutcome outcome = validate(folder, [&] { return ++asked > 0; });

    EXPECT_EQ(outcome.totalScanned, 4);
    EXPECT_EQ(asked, 4);
    QList<std::pair<QByteArray, Reason>> failed;
    for (const ValidationFailure &failure : outcome.failed)
        failed.append({QByteArray::fromPercentEncoding(failure.sourceURL.path(QUrl::FullyEncoded).toLatin1()),
                       failure.reason});
    EXPECT_EQ(failed, (QList<std::pair<QByteArray, Reason>>{{root + "/caf\xe9.jpg", Reason::unreadable},
                                                           {root + "/d\xe9j\xe0/clip.mov", Reason::unreadable}}));
    ASSERT_EQ(outcome.failed.size(), 2);
    EXPECT_EQ(outcome.failed[0].sourceURL.fileName(), QStringLiteral("caf\uFFFD.jpg")) << "shown as best it can be";
    EXPECT_EQ(outcome.valid.size(), 2);
}

TEST(ValidationService, AFileWeMayNotOpenIsUnreadableNotDamaged)
{
    TempFolder folder;
    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                             | QFileDevice::ReadOther | QFileDevice::ExeOther
                                             | QFileDevice::ReadGroup | QFileDevice::ExeGroup);
    const QString photo = makeJpeg(folder.filePath(QStringLiteral("locked.jpg")));
    const QString video = makeVideo(folder.filePath(QStringLiteral("locked.mov")));
    for (const QString &path : {photo, video})
        QFile::setPermissions(path, QFileDevice::Permissions());
    {
        // Root opens everything: check as nobody, on this thread only.
        const bool asRoot = ::geteuid() == 0;
        if (asRoot) {
            ::setfsgid(65534);
            ::setfsuid(65534);
        }
        EXPECT_THROW(ValidationService::checkFileNow(photo, MediaItem::Kind::photo), FileAttributesError);
        EXPECT_THROW(ValidationService::checkFileNow(video, MediaItem::Kind::video), FileAttributesError);
        if (asRoot) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    EXPECT_EQ(ValidationFailure::message(Reason::unreadable), QStringLiteral("Couldn't read this file"));
}

TEST(ValidationService, AnEmptyFolderAsksNothing)
{
    TempFolder folder;
    makeTextFile(folder.filePath(QStringLiteral("notes.txt")));
    int asked = 0;
    const ValidationOutcome outcome = validate(folder, [&] { return ++asked, true; });
    EXPECT_TRUE(outcome.valid.isEmpty());
    EXPECT_TRUE(outcome.failed.isEmpty());
    EXPECT_EQ(outcome.totalScanned, 0);
    EXPECT_EQ(asked, 0);
}

TEST(ValidationService, AllFailingStillCountsEveryFile)
{
    TempFolder folder;
    for (int i = 0; i < 3; ++i)
        makeEmptyFile(folder.filePath(QStringLiteral("%1.jpg").arg(i)));
    const ValidationOutcome outcome = validate(folder);
    EXPECT_TRUE(outcome.valid.isEmpty());
    EXPECT_EQ(outcome.failed.size(), 3);
    EXPECT_EQ(outcome.totalScanned, 3);
}

TEST(ValidationService, TheCardLeavingEndsTheRunBeforeTheNextFile)
{
    TempFolder folder;
    for (int i = 1; i <= 5; ++i)
        makeJpeg(folder.filePath(QStringLiteral("%1.jpg").arg(i)));
    int asked = 0;
    EXPECT_THROW(validate(folder, [&] { return ++asked < 3; }), ValidationAborted);
    EXPECT_EQ(asked, 3);
}

TEST(ValidationService, ScanFailurePassesThrough)
{
    ValidationService service;
    int asked = 0;
    EXPECT_THROW(awaitTask(service.validate(QUrl::fromLocalFile(QStringLiteral("/no/such/folder")),
                                            [&] { return ++asked, true; })),
                 ScanError);
    EXPECT_EQ(asked, 0);
}

TEST(ValidationService, CheckFileAnswersAndThrowsAsDocumented)
{
    TempFolder folder;
    ValidationService service;
    const auto check = [&](const QString &path, MediaItem::Kind kind) {
        return awaitTask(service.checkFile(QUrl::fromLocalFile(path), kind));
    };
    EXPECT_TRUE(check(makeJpeg(folder.filePath(QStringLiteral("a.jpg"))), MediaItem::Kind::photo));
    EXPECT_FALSE(check(makeTextFile(folder.filePath(QStringLiteral("b.jpg"))), MediaItem::Kind::photo));
    try {
        check(makeEmptyFile(folder.filePath(QStringLiteral("c.mov"))), MediaItem::Kind::video);
        FAIL() << "an empty file passed";
    } catch (const ValidationFailure::Error &error) {
        EXPECT_EQ(error.reason, Reason::emptyFile);
    }
    EXPECT_THROW(check(folder.filePath(QStringLiteral("missing.jpg")), MediaItem::Kind::photo), FileAttributesError);
    // The kernel answers every read of this non-empty file with EIO, as a
    // failing card does: that says nothing of the content.
    const QString failsReads = fileFailingEveryRead();
    EXPECT_THROW(check(failsReads, MediaItem::Kind::photo), FileAttributesError);
    const QString video = makeLink(folder.filePath(QStringLiteral("d.mov")), failsReads);
    EXPECT_THROW(check(video, MediaItem::Kind::video), FileAttributesError);
}

TEST(ValidationService, AFileFailingAsTheCardGoesEndsTheRunInsteadOfBeingListed)
{
    // How the card goes as its third file is checked. The watcher may hear of
    // it only after every later file has failed, so the card itself is asked.
    enum class Going { noticedAtOnce, unmountedUnnoticed, readsStopUnnoticed, staysDamaged, staysUnreadable };
    for (const Going going : {Going::noticedAtOnce, Going::unmountedUnnoticed, Going::readsStopUnnoticed,
                              Going::staysDamaged, Going::staysUnreadable}) {
        SCOPED_TRACE(int(going));
        TempFolder card;
        const QString dcim = card.makeFolder(QStringLiteral("DCIM"));
        for (int i = 1; i <= 5; ++i)
            makeJpeg(dcim + QStringLiteral("/%1.jpg").arg(i));
        std::atomic<bool> noticed = false;
        QStringList checked;
        ValidationService service({}, [&](const QString &path, MediaItem::Kind kind) {
            checked << QFileInfo(path).fileName();
            if (checked.size() < 3)
                return ValidationService::checkFileNow(path, kind);
            if (checked.size() == 3) {
                noticed = going == Going::noticedAtOnce;
                if (going == Going::unmountedUnnoticed) {
                    // The mount point is left behind, an empty folder of the disk below.
                    QDir().rename(dcim, card.filePath(QStringLiteral("unmounted")));
                    QDir().mkpath(dcim);
                } else if (going == Going::readsStopUnnoticed) {
                    for (const QString &name : QDir(dcim).entryList(QDir::Files))
                        QFile::remove(dcim + u'/' + name);
                }
            } else if (going == Going::staysDamaged || going == Going::staysUnreadable) {
                return ValidationService::checkFileNow(path, kind);
            }
            if (going == Going::staysUnreadable || going == Going::unmountedUnnoticed)
                throw FileAttributesError();
            return false;
        });
        int asked = 0;
        auto run = service.validate(QUrl::fromLocalFile(dcim), [&] { return ++asked, !noticed; });
        if (going == Going::staysDamaged || going == Going::staysUnreadable) {
            const ValidationOutcome outcome = awaitTask(std::move(run));
            EXPECT_EQ(outcome.valid.size(), 4);
            ASSERT_EQ(outcome.failed.size(), 1);
            EXPECT_EQ(outcome.failed[0].sourceURL.fileName(), QStringLiteral("3.jpg"));
            EXPECT_EQ(outcome.failed[0].reason,
                      going == Going::staysDamaged ? Reason::corruptPhoto : Reason::unreadable);
            EXPECT_EQ(asked, 6) << "once before each file, and again after the failure";
        } else {
            EXPECT_THROW(awaitTask(std::move(run)), ValidationAborted);
            EXPECT_EQ(checked.join(u' ').toStdString(), "1.jpg 2.jpg 3.jpg") << "nothing after the failed file";
        }
    }
}

TEST(ValidationService, ManyFilesOddNamesAndNothingWritten)
{
    TempFolder folder;
    const QString seed = makeJpeg(folder.filePath(QStringLiteral("seed/0.jpg")), {.size = QSize(16, 16)});
    QFile seedFile(seed);
    seedFile.open(QIODevice::ReadOnly);
    const QByteArray bytes = seedFile.readAll();
    for (int i = 1; i < 10000; ++i)
        makeTextFile(folder.filePath(QStringLiteral("many/%1/%2.jpg").arg(i % 10).arg(i)), bytes);
    const QStringList odd = {QStringLiteral("-dash.jpg"), QStringLiteral("a b.jpg"), QStringLiteral("q\"'.jpg"),
                             QStringLiteral("new\nline.jpg"), QStringLiteral("한글 사진.jpg")};
    for (const QString &name : odd)
        makeTextFile(folder.filePath(name), bytes);
    makeVideo(folder.filePath(QStringLiteral("-v ideo\n.mov")));

    const auto before = folderFingerprint(folder.path());
    const ValidationOutcome outcome = validate(folder);
    EXPECT_EQ(outcome.totalScanned, 10000 + odd.size() + 1);
    EXPECT_EQ(outcome.valid.size(), outcome.totalScanned);
    EXPECT_TRUE(outcome.failed.isEmpty());
    EXPECT_EQ(folderFingerprint(folder.path()), before);
}

TEST(ValidationFailureMessages, EnglishKeysAndKoreanTranslations)
{
    EXPECT_EQ(ValidationFailure::message(Reason::emptyFile), QStringLiteral("This file is empty"));
    EXPECT_EQ(ValidationFailure::message(Reason::corruptPhoto), QStringLiteral("This photo file looks damaged"));
    EXPECT_EQ(ValidationFailure::message(Reason::corruptVideo), QStringLiteral("This video file looks damaged"));
    EXPECT_EQ(ValidationFailure::message(Reason::unknownFormat), QStringLiteral("Unrecognized format"));
    EXPECT_EQ(ValidationFailure::message(Reason::unreadable), QStringLiteral("Couldn't read this file"));

    QTranslator korean;
    ASSERT_TRUE(korean.load(QStringLiteral(POMELARK_QM_DIR "/pomelark_ko.qm")));
    QCoreApplication::installTranslator(&korean);
    for (Reason reason : {Reason::emptyFile, Reason::corruptPhoto, Reason::corruptVideo, Reason::unknownFormat,
                          Reason::unreadable}) {
        const QString text = ValidationFailure::message(reason);
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3; }))
            << text.toStdString();
    }
    QCoreApplication::removeTranslator(&korean);
}
