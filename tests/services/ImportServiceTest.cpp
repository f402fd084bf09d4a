#include "services/ImportService.h"

#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace pomelark::test;

namespace {

QStringList names(const MediaItems &items, const QString &root)
{
    QStringList result;
    for (const MediaItem &item : items)
        result << QDir(root).relativeFilePath(item.url.toLocalFile());
    return result;
}

/// A fake machine with the given mounts; each mount is "path fstype removable ejectable".
struct FakeVolumes {
    TempFolder root;

    Volumes volumes(const QList<std::tuple<QString, bool, bool>> &mounts)
    {
        QByteArray table;
        int minor = 1;
        for (const auto &[path, removable, ejectable] : mounts) {
            const QString id = QStringLiteral("8:%1").arg(minor);
            table += QStringLiteral("%1 1 %2 / %3 rw - vfat /dev/sd%4 rw\n")
                         .arg(minor)
                         .arg(id, path, QChar(u'a' + minor))
                         .toUtf8();
            const QString bus = ejectable ? QStringLiteral("usb1") : QStringLiteral("ata1");
            const QString device = root.makeFolder(QStringLiteral("sys/devices/%1/d%2").arg(bus).arg(minor));
            makeTextFile(device + QStringLiteral("/removable"), removable ? "1" : "0");
            makeLink(root.filePath(QStringLiteral("sys/dev/block/") + id), device);
            ++minor;
        }
        makeTextFile(root.filePath(QStringLiteral("mountinfo")), table);
        return Volumes({root.filePath(QStringLiteral("mountinfo")), root.filePath(QStringLiteral("sys")),
                        root.filePath(QStringLiteral("none")), QStringLiteral("/nonexistent-home")});
    }
};

} // namespace

TEST(ImportServiceScan, SortsByExtensionAndPathSkippingHiddenAndOtherFiles)
{
    TempFolder folder;
    makeTextFile(folder.filePath(QStringLiteral("IMG_1.JPG")));
    makeTextFile(folder.filePath(QStringLiteral("IMG_2.jpeg")));
    makeTextFile(folder.filePath(QStringLiteral("MOV_3.avi")));
    makeTextFile(folder.filePath(QStringLiteral("MOV_1.MP4")));
    makeTextFile(folder.filePath(QStringLiteral("MOV_2.mov")));
    makeTextFile(folder.filePath(QStringLiteral("IMG_3.png")));
    makeTextFile(folder.filePath(QStringLiteral("README")));
    makeTextFile(folder.filePath(QStringLiteral(".IMG_4.jpg")));
    makeTextFile(folder.filePath(QStringLiteral(".hidden/IMG_5.jpg")));
    makeTextFile(folder.filePath(QStringLiteral("a/b/c/d/IMG_6.Jpeg")));
    makeTextFile(folder.filePath(QStringLiteral("IMG_10.JPG")));
    makeTextFile(folder.filePath(QStringLiteral("IMG_9.JPG")));
    makeTextFile(folder.filePath(QStringLiteral("Z.jpg")));
    makeTextFile(folder.filePath(QStringLiteral("a.jpg")));
    folder.makeFolder(QStringLiteral("folder.jpg"));

    const auto result = ImportService().scan(folder.url());
    EXPECT_EQ(names(result.photos, folder.path()),
              QStringList({QStringLiteral("IMG_1.JPG"), QStringLiteral("IMG_10.JPG"), QStringLiteral("IMG_2.jpeg"),
                           QStringLiteral("IMG_9.JPG"), QStringLiteral("Z.jpg"), QStringLiteral("a.jpg"),
                           QStringLiteral("a/b/c/d/IMG_6.Jpeg")}));
    EXPECT_EQ(names(result.videos, folder.path()),
              QStringList({QStringLiteral("MOV_1.MP4"), QStringLiteral("MOV_2.mov"), QStringLiteral("MOV_3.avi")}));
    for (const MediaItem &item : result.photos)
        EXPECT_EQ(item.kind, MediaItem::Kind::photo);
    for (const MediaItem &item : result.videos)
        EXPECT_EQ(item.kind, MediaItem::Kind::video);
}

TEST(ImportServiceScan, EachScanMakesNewIdsForTheSameFiles)
{
    TempFolder folder;
    makeTextFile(folder.filePath(QStringLiteral("a.jpg")));
    makeTextFile(folder.filePath(QStringLiteral("b.mov")));
    const auto first = ImportService().scan(folder.url());
    const auto second = ImportService().scan(folder.url());
    ASSERT_EQ(first.photos.size(), 1);
    ASSERT_EQ(second.photos.size(), 1);
    EXPECT_EQ(first.photos[0].url, second.photos[0].url);
    EXPECT_NE(first.photos[0].id, second.photos[0].id);
    EXPECT_NE(first.videos[0].id, second.videos[0].id);
    EXPECT_FALSE(first.photos[0].id.isNull());
}

TEST(ImportServiceScan, MissingOrUnlistableFoldersThrowAndEmptyOnesGiveNothing)
{
    TempFolder folder;
    EXPECT_THROW(ImportService().scan(QUrl::fromLocalFile(folder.filePath(QStringLiteral("missing")))), ScanError);
    EXPECT_THROW(ImportService().scan(QUrl::fromLocalFile(makeTextFile(folder.filePath(QStringLiteral("f.jpg"))))),
                 ScanError);
    EXPECT_THROW(ImportService().scan(QUrl()), ScanError);
    const auto empty = ImportService().scan(QUrl::fromLocalFile(folder.makeFolder(QStringLiteral("empty"))));
    EXPECT_TRUE(empty.photos.isEmpty());
    EXPECT_TRUE(empty.videos.isEmpty());
}

TEST(ImportServiceScan, LinksToFoldersAreNotFollowedLinksToFilesAreListed)
{
    TempFolder outside;
    makeTextFile(outside.filePath(QStringLiteral("elsewhere.jpg")));
    TempFolder folder;
    makeLink(folder.filePath(QStringLiteral("linked-folder")), outside.path());
    makeLink(folder.filePath(QStringLiteral("loop")), folder.path()); // would recurse forever if followed
    makeLink(folder.filePath(QStringLiteral("linked.jpg")), outside.filePath(QStringLiteral("elsewhere.jpg")));
    makeDanglingLink(folder.filePath(QStringLiteral("dangling.jpg")));

    const auto result = ImportService().scan(folder.url());
    EXPECT_EQ(names(result.photos, folder.path()),
              QStringList({QStringLiteral("dangling.jpg"), QStringLiteral("linked.jpg")}));
}

TEST(ImportServiceScan, UnreadableSubfoldersArePassedOver)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    TempFolder folder;
    makeTextFile(folder.filePath(QStringLiteral("ok.jpg")));
    makeTextFile(folder.filePath(QStringLiteral("locked/inside.jpg")));
    QFile::setPermissions(folder.filePath(QStringLiteral("locked")), QFileDevice::Permissions());
    const auto result = ImportService().scan(folder.url());
    QFile::setPermissions(folder.filePath(QStringLiteral("locked")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(names(result.photos, folder.path()), QStringList({QStringLiteral("ok.jpg")}));
}

TEST(ImportServiceScan, OddNamesSurvive)
{
    TempFolder folder;
    const QStringList odd = {QStringLiteral("-leading dash.jpg"), QStringLiteral("with space.jpg"),
                             QStringLiteral("quote \"double\" 'single'.jpg"), QStringLiteral("new\nline.jpg"),
                             QStringLiteral("사진 한글.JPG"), QStringLiteral("éèü.mov"), QStringLiteral("back\\slash.mp4")};
    for (const QString &name : odd)
        makeTextFile(folder.filePath(name));
    const auto result = ImportService().scan(folder.url());
    QStringList found = names(result.photos, folder.path()) + names(result.videos, folder.path());
    QStringList expected = odd;
    found.sort();
    expected.sort();
    EXPECT_EQ(found, expected);
}

TEST(ImportServiceCardFolder, PicksTheFirstRemovableOrEjectableVisibleVolume)
{
    TempFolder mounts;
    const QString fixed = mounts.makeFolder(QStringLiteral("fixed"));
    const QString ejectOnly = mounts.makeFolder(QStringLiteral("eject"));
    const QString removable = mounts.makeFolder(QStringLiteral("removable"));
    mounts.makeFolder(QStringLiteral("eject/DCIM"));
    makeTextFile(mounts.filePath(QStringLiteral("removable/DCIM")), "a plain file");

    FakeVolumes fake;
    // Only ejectable comes first: it wins over the removable one after it.
    auto found = ImportService(fake.volumes({{fixed, false, false}, {ejectOnly, false, true}, {removable, true, false}}))
                     .findCardFolder();
    ASSERT_TRUE(found);
    EXPECT_EQ(found->toLocalFile(), ejectOnly + QStringLiteral("/DCIM"));

    FakeVolumes fake2;
    found = ImportService(fake2.volumes({{removable, true, false}, {ejectOnly, false, true}})).findCardFolder();
    ASSERT_TRUE(found);
    EXPECT_EQ(found->toLocalFile(), removable); // "DCIM" is a file there: the root

    FakeVolumes fake3;
    EXPECT_FALSE(ImportService(fake3.volumes({{fixed, false, false}})).findCardFolder());
}

TEST(ImportServiceCardFolder, HiddenVolumesAreNeverChosen)
{
    FakeVolumes fake;
    // A removable USB volume mounted below /run (not /run/media) counts as a system mount.
    EXPECT_FALSE(ImportService(fake.volumes({{QStringLiteral("/run/usb-stick"), true, true}})).findCardFolder());
}
