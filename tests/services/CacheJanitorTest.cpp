#include "services/CacheJanitor.h"

#include "services/ThumbnailMemoryCache.h"
#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace pomelark::test;

TEST(CacheJanitor, ResetEmptiesThreeFoldersRemovesTheWorkspaceAndForgetsThumbnails)
{
    TempFolder root;
    const WorkingFolders folders(root.path());
    makeTextFile(folders.videoPlayback() + QStringLiteral("/old.mov"));
    makeTextFile(folders.videoThumbnails() + QStringLiteral("/deep/old.jpg"));
    makeTextFile(folders.workspace() + QStringLiteral("/scratch"));
    // export-staging is missing altogether.
    TempFolder elsewhere;
    const QString precious = makeTextFile(elsewhere.filePath(QStringLiteral("precious.txt")));
    makeLink(folders.videoPlayback() + QStringLiteral("/link-out"), elsewhere.path());

    int decodes = 0;
    ThumbnailMemoryCache thumbnails([&decodes](const QUrl &, int size) {
        ++decodes;
        return std::optional<QImage>(QImage(size, size, QImage::Format_RGB32));
    });
    const QUrl photo = QUrl::fromLocalFile(QStringLiteral("/photos/a.jpg"));
    awaitTask(thumbnails.thumbnail(photo));

    CacheJanitor janitor(folders, &thumbnails);
    awaitTask(janitor.resetForNewSession());
    for (const QString &path : {folders.videoPlayback(), folders.videoThumbnails(), folders.exportStaging()}) {
        EXPECT_TRUE(QFileInfo(path).isDir()) << path.toStdString();
        EXPECT_TRUE(QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
    }
    EXPECT_FALSE(QFileInfo::exists(folders.workspace()));
    EXPECT_TRUE(QFileInfo::exists(precious)); // a link inside is removed, not followed

    EXPECT_EQ(thumbnails.count(), 0);
    awaitTask(thumbnails.thumbnail(photo));
    EXPECT_EQ(decodes, 2);
}

TEST(CacheJanitor, PurgeRemovesAllFourAndNeverFollowsALinkedFolder)
{
    TempFolder root;
    const WorkingFolders folders(root.path());
    awaitTask(CacheJanitor(folders).resetForNewSession());
    TempFolder elsewhere;
    const QString precious = makeTextFile(elsewhere.filePath(QStringLiteral("precious.txt")));
    makeLink(folders.workspace(), elsewhere.path());

    CacheJanitor::purgeOnTerminate(folders);
    for (const QString &path :
         {folders.videoPlayback(), folders.videoThumbnails(), folders.exportStaging(), folders.workspace()})
        EXPECT_FALSE(QFileInfo::exists(path) || QFileInfo(path).isSymLink()) << path.toStdString();
    EXPECT_TRUE(QFileInfo::exists(precious));
    CacheJanitor::purgeOnTerminate(folders); // nothing left: still fine
}
