#include "platform/PhotoLibrary.h"
#include "platform/SystemErrorText.h"

#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace pomelark::test;

namespace {

/// Every entry below `root`, hidden ones included, relative to it.
QStringList entriesBelow(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(root).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

} // namespace

TEST(PhotoLibrary, AccessFollowsTheFolder)
{
    TempFolder folder;
    const PhotoLibrary library(folder.filePath(QStringLiteral("Pictures/Photos")));
    EXPECT_EQ(library.access(), PhotoLibrary::Access::notDetermined);
    EXPECT_EQ(library.requestAccess(), PhotoLibrary::Access::authorized);
    EXPECT_TRUE(QFileInfo(library.root()).isDir());
    EXPECT_EQ(library.access(), PhotoLibrary::Access::authorized);

    // A file where the folder should be: it can be neither made nor written.
    makeTextFile(folder.filePath(QStringLiteral("Blocked")));
    const PhotoLibrary blocked(folder.filePath(QStringLiteral("Blocked")));
    EXPECT_EQ(blocked.access(), PhotoLibrary::Access::denied);
    EXPECT_EQ(blocked.requestAccess(), PhotoLibrary::Access::denied);
    const PhotoLibrary below(folder.filePath(QStringLiteral("Blocked/Photos")));
    EXPECT_EQ(below.requestAccess(), PhotoLibrary::Access::denied);
}

TEST(PhotoLibrary, RootComesFromTheEnvironment)
{
    qputenv("POMELARK_PHOTOS_DIR", "/somewhere/else");
    EXPECT_EQ(PhotoLibrary::defaultRoot(), QStringLiteral("/somewhere/else"));
    qunsetenv("POMELARK_PHOTOS_DIR");
    EXPECT_TRUE(PhotoLibrary::defaultRoot().endsWith(QStringLiteral("/Photos")));
}

TEST(PhotoLibrary, FilesCopiesByDateAndNeverReplaces)
{
    TempFolder folder;
    const PhotoLibrary library(folder.filePath(QStringLiteral("Photos")));
    const QString first = makeTextFile(folder.filePath(QStringLiteral("staging/1.heic")), "first");
    const QString second = makeTextFile(folder.filePath(QStringLiteral("staging/2.heic")), "second");
    const QDateTime date(QDate(2024, 5, 1), QTime(10, 20, 30));

    const QString added = library.add(first, QStringLiteral("IMG_0001.heic"), date);
    EXPECT_EQ(added, library.root() + QStringLiteral("/2024/05/01/IMG_0001.heic"));
    EXPECT_EQ(contentOf(added), QByteArray("first"));
    EXPECT_EQ(QFileInfo(added).lastModified(), date);
    EXPECT_TRUE(QFileInfo::exists(first)) << "the staged file is copied, not moved";

    const QString again = library.add(second, QStringLiteral("IMG_0001.heic"), date);
    EXPECT_EQ(again, library.root() + QStringLiteral("/2024/05/01/IMG_0001 (2).heic"));
    EXPECT_EQ(contentOf(added), QByteArray("first"));
    EXPECT_EQ(contentOf(again), QByteArray("second"));

    // Names cannot climb out of the date folder or hide in it.
    const QString odd = library.add(first, QStringLiteral("../../.hidden.heic"), date);
    EXPECT_EQ(odd, library.root() + QStringLiteral("/2024/05/01/hidden.heic"));
}

TEST(PhotoLibrary, WithoutADateUsesTheFilesOwnTime)
{
    TempFolder folder;
    const PhotoLibrary library(folder.filePath(QStringLiteral("Photos")));
    const QString staged = makeTextFile(folder.filePath(QStringLiteral("a.mov")));
    const QDateTime time(QDate(2021, 12, 31), QTime(23, 0, 0));
    QFile file(staged);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(time, QFileDevice::FileModificationTime);
    file.close();
    EXPECT_EQ(library.add(staged, QStringLiteral("a.mov"), std::nullopt),
              library.root() + QStringLiteral("/2021/12/31/a.mov"));
}

TEST(PhotoLibrary, AFailedAddLeavesNothingBehind)
{
    TempFolder folder;
    const PhotoLibrary library(folder.filePath(QStringLiteral("Photos")));
    library.requestAccess();
    const QDateTime date(QDate(2024, 5, 1), QTime(10, 0));

    EXPECT_THROW(library.add(folder.filePath(QStringLiteral("missing.heic")), QStringLiteral("a.heic"), date),
                 PhotoLibrary::Error);
    // A folder opens but fails on the first read: the copy is under way when it breaks.
    const QString unreadable = folder.makeFolder(QStringLiteral("not-a-file.heic"));
    EXPECT_THROW(library.add(unreadable, QStringLiteral("a.heic"), date), PhotoLibrary::Error);

    EXPECT_EQ(entriesBelow(library.root()), QStringList()) << "no empty date folders either";

    // Folders that were there before the failed add stay.
    const QString kept = library.add(makeTextFile(folder.filePath(QStringLiteral("ok.heic"))), QStringLiteral("ok.heic"),
                                     date);
    EXPECT_THROW(library.add(unreadable, QStringLiteral("a.heic"), date), PhotoLibrary::Error);
    EXPECT_THROW(library.add(unreadable, QStringLiteral("a.heic"), date.addDays(1)), PhotoLibrary::Error);
    EXPECT_EQ(entriesBelow(library.root()), QStringList({QStringLiteral("2024"), QStringLiteral("2024/05"),
                                                         QStringLiteral("2024/05/01"), QStringLiteral("2024/05/01/ok.heic")}));
}

TEST(PhotoLibrary, AFailedAddSaysTheSystemsCauseInOurWords)
{
    // The causes a user meets get words of our own (translated like every
    // text); the rare rest keep the system's, and logs keep its English.
    for (const int error : {EACCES, EROFS, ENOSPC, EDQUOT, ENOENT, ENAMETOOLONG, EIO}) {
        EXPECT_NE(SystemErrorText::of(error), QString::fromLocal8Bit(std::strerror(error))) << error;
        EXPECT_EQ(SystemErrorText::ofDescription(QString::fromLocal8Bit(std::strerror(error))), SystemErrorText::of(error));
    }
    EXPECT_EQ(SystemErrorText::of(EBADF), QString::fromLocal8Bit(std::strerror(EBADF)));
    EXPECT_EQ(SystemErrorText::ofDescription(u"Invalid data found when processing input"_qs),
              u"Invalid data found when processing input"_qs);

    TempFolder folder;
    const QDateTime date(QDate(2024, 5, 1), QTime(10, 0));
    const QString staged = makeTextFile(folder.filePath(u"a.heic"_qs));
    makeTextFile(folder.filePath(u"Blocked"_qs));
    struct Case {
        QString root;
        QString file;
        PhotoLibrary::Error::Kind kind;
        int error;
    };
    const QList<Case> cases = {
        {folder.filePath(u"Photos"_qs), folder.filePath(u"gone.heic"_qs), PhotoLibrary::Error::Kind::openFile, ENOENT},
        {folder.filePath(u"Blocked/Photos"_qs), staged, PhotoLibrary::Error::Kind::makeFolder, ENOTDIR},
        {folder.filePath(u"Blocked"_qs), staged, PhotoLibrary::Error::Kind::makeFolder, ENOTDIR},
    };
    for (const Case &c : cases) {
        try {
            PhotoLibrary(c.root).add(c.file, u"a.heic"_qs, c.file == staged ? std::optional(date) : std::nullopt);
            ADD_FAILURE() << "added into " << c.root.toStdString();
        } catch (const PhotoLibrary::Error &error) {
            EXPECT_EQ(error.kind(), c.kind) << c.root.toStdString();
            EXPECT_EQ(error.systemError(), c.error) << c.root.toStdString();
            EXPECT_EQ(error.systemText(), SystemErrorText::of(c.error));
            EXPECT_TRUE(QString::fromUtf8(error.what()).endsWith(SystemErrorText::systemDescription(c.error)));
        }
    }
}
