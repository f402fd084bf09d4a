#include "app/FailedFilesAside.h"
#include "platform/SystemLog.h"

#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>

#include <unistd.h>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace pomelark::test;

namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QUrl made(const QString &path, const QByteArray &content)
{
    return QUrl::fromLocalFile(makeTextFile(path, content));
}

} // namespace

TEST(FailedFilesAside, CopiesEveryFileFlatUnderItsOwnNameAndLeavesTheSources)
{
    TempFolder source;
    TempFolder destination;
    const QList<QUrl> sources{made(source.filePath(u"DCIM/100/a.jpg"_qs), "one"),
                              made(source.filePath(u"DCIM/101/b.mov"_qs), "two")};
    const auto before = folderFingerprint(source.path());

    const AsideReport report = FailedFilesAside::copyAll(sources, destination.path());

    EXPECT_EQ(report.copied, 2);
    EXPECT_TRUE(report.problems.isEmpty());
    EXPECT_EQ(report.destination, destination.path());
    EXPECT_EQ(filesIn(destination.path()), (QStringList{u"a.jpg"_qs, u"b.mov"_qs}));
    EXPECT_EQ(contentOf(destination.filePath(u"b.mov"_qs)), "two");
    // The copy keeps the file's own time, so it still sorts where it belongs.
    EXPECT_EQ(QFileInfo(destination.filePath(u"a.jpg"_qs)).lastModified().toSecsSinceEpoch(),
              QFileInfo(sources[0].toLocalFile()).lastModified().toSecsSinceEpoch());
    EXPECT_EQ(folderFingerprint(source.path()), before);
}

TEST(FailedFilesAside, NeverReplacesAFileThatIsAlreadyThere)
{
    TempFolder source;
    TempFolder destination;
    makeTextFile(destination.filePath(u"a.jpg"_qs), "kept");
    // Two failures of the same name from different folders.
    const QList<QUrl> sources{made(source.filePath(u"x/a.jpg"_qs), "first"),
                              made(source.filePath(u"y/a.jpg"_qs), "second")};

    const AsideReport report = FailedFilesAside::copyAll(sources, destination.path());

    EXPECT_EQ(report.copied, 2);
    EXPECT_EQ(filesIn(destination.path()), (QStringList{u"a (2).jpg"_qs, u"a (3).jpg"_qs, u"a.jpg"_qs}));
    EXPECT_EQ(contentOf(destination.filePath(u"a.jpg"_qs)), "kept");
    EXPECT_EQ(contentOf(destination.filePath(u"a (2).jpg"_qs)), "first");
    EXPECT_EQ(contentOf(destination.filePath(u"a (3).jpg"_qs)), "second");
}

TEST(FailedFilesAside, AFolderHoldingTheSourceGetsASecondCopyBesideIt)
{
    TempFolder folder;
    const QUrl source = made(folder.filePath(u"clip.mp4"_qs), "video");

    const AsideReport report = FailedFilesAside::copyAll({source}, folder.path());

    EXPECT_EQ(report.copied, 1);
    EXPECT_EQ(contentOf(source.toLocalFile()), "video");
    EXPECT_EQ(contentOf(folder.filePath(u"clip (2).mp4"_qs)), "video");
}

TEST(FailedFilesAside, AFileThatCannotBeCopiedIsReportedAndTheOthersGoOn)
{
    TempFolder source;
    TempFolder destination;
    const QList<QUrl> sources{QUrl::fromLocalFile(source.filePath(u"gone.jpg"_qs)),
                              made(source.filePath(u"b.jpg"_qs), "b"), QUrl(u"https://example.org/c.jpg"_qs)};
    SystemLog::Capture log;

    const AsideReport report = FailedFilesAside::copyAll(sources, destination.path());

    EXPECT_EQ(report.copied, 1);
    ASSERT_EQ(report.problems.size(), 2);
    EXPECT_EQ(report.problems[0].fileName, u"gone.jpg"_qs);
    // The cause in our own words, which translate; the log keeps the system's English.
    EXPECT_EQ(report.problems[0].reason, u"Couldn't open the file: It isn't there"_qs);
    EXPECT_EQ(report.problems[1].fileName, u"c.jpg"_qs);
    EXPECT_EQ(filesIn(destination.path()), QStringList{u"b.jpg"_qs});
    ASSERT_EQ(log.lines().size(), 2);
    EXPECT_EQ(log.lines()[0],
              u"[ValidationScreen] archive copy FAILED for gone.jpg: Couldn't open the file: No such file or directory"_qs);
}

TEST(FailedFilesAside, AnUnwritableFolderFailsEveryFileAndLeavesNothing)
{
    TempFolder source;
    TempFolder destination;
    const QString locked = destination.makeFolder(u"locked"_qs);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    const QList<QUrl> sources{made(source.filePath(u"a.jpg"_qs), "a"), made(source.filePath(u"b.jpg"_qs), "b")};

    const AsideReport missing = FailedFilesAside::copyAll(sources, destination.filePath(u"absent"_qs));
    const AsideReport refused = FailedFilesAside::copyAll(sources, locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    EXPECT_EQ(missing.copied, 0);
    ASSERT_EQ(missing.problems.size(), 2);
    EXPECT_EQ(missing.problems[0].reason, u"Couldn't open the folder: It isn't there"_qs);
    EXPECT_FALSE(QFileInfo::exists(destination.filePath(u"absent"_qs)));
    if (::geteuid() != 0) { // root writes anywhere
        EXPECT_EQ(refused.copied, 0);
        EXPECT_EQ(refused.problems.size(), 2);
        EXPECT_TRUE(filesIn(locked).isEmpty());
    }
}

TEST(FailedFilesAside, RunsOffTheMainThread)
{
    TempFolder source;
    TempFolder destination;
    QFutureWatcher<AsideReport> watcher;
    bool finished = false;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, [&] { finished = true; });
    watcher.setFuture(FailedFilesAside::start({made(source.filePath(u"a.jpg"_qs), "a")}, destination.path()));
    ASSERT_TRUE(spinUntil([&] { return finished; }));
    EXPECT_EQ(watcher.result().copied, 1);
}
