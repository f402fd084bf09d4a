#include "platform/VolumeMonitor.h"

#include "support/FakeVolumeTable.h"
#include "support/TempFolder.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace pomelark;
using pomelark::test::FakeVolumeTable;
using pomelark::test::TempFolder;

namespace {

class VolumeMonitorTest : public ::testing::Test {
protected:
    VolumeMonitorTest() : table(folder.path())
    {
        table.addInternalDevice(QStringLiteral("sda1"), QStringLiteral("8:1"));
        table.addCardDevice(QStringLiteral("sdb1"), QStringLiteral("8:17"), QStringLiteral("1111-AAAA"));
        table.writeTable({root});
    }

    static QStringList paths(const QSignalSpy &spy)
    {
        QStringList out;
        for (const QList<QVariant> &call : spy)
            out.append(call.at(0).value<Volume>().mountPath);
        return out;
    }

    TempFolder folder;
    FakeVolumeTable table;
    FakeVolumeTable::Mount root{1, QStringLiteral("/"), QStringLiteral("8:1"), QStringLiteral("/dev/sda1"),
                                QStringLiteral("ext4")};
    FakeVolumeTable::Mount card{40, QStringLiteral("/media/me/CARD ONE"), QStringLiteral("8:17"),
                                QStringLiteral("/dev/sdb1")};
};

} // namespace

TEST_F(VolumeMonitorTest, ReportsMountsAndUnmountsWithTheirPathsAndFacts)
{
    VolumeMonitor monitor(Volumes(table.roots()));
    QSignalSpy mounted(&monitor, &VolumeMonitor::volumeMounted);
    QSignalSpy unmounted(&monitor, &VolumeMonitor::volumeUnmounted);

    table.writeTable({root, card});
    monitor.rescan();
    ASSERT_EQ(mounted.size(), 1);
    const Volume arrived = mounted.at(0).at(0).value<Volume>();
    EXPECT_EQ(arrived.mountPath, QStringLiteral("/media/me/CARD ONE"));
    EXPECT_EQ(arrived.uuid, QStringLiteral("1111-AAAA"));
    EXPECT_TRUE(arrived.ejectable);
    EXPECT_TRUE(unmounted.isEmpty());

    table.writeTable({root});
    monitor.rescan();
    EXPECT_EQ(paths(unmounted), QStringList{QStringLiteral("/media/me/CARD ONE")});
    EXPECT_EQ(mounted.size(), 1);
}

TEST_F(VolumeMonitorTest, AnUnchangedTableReportsNothing)
{
    table.writeTable({root, card});
    VolumeMonitor monitor(Volumes(table.roots()));
    QSignalSpy mounted(&monitor, &VolumeMonitor::volumeMounted);
    QSignalSpy unmounted(&monitor, &VolumeMonitor::volumeUnmounted);
    monitor.rescan();
    // A UUID link that shows up after the mount is not a new volume.
    table.setUuid(QStringLiteral("2222-BBBB"), QStringLiteral("sdb1"));
    monitor.rescan();
    EXPECT_TRUE(mounted.isEmpty());
    EXPECT_TRUE(unmounted.isEmpty());
}

TEST_F(VolumeMonitorTest, ARemountBetweenTwoReadsIsReportedAsUnmountThenMount)
{
    table.writeTable({root, card});
    VolumeMonitor monitor(Volumes(table.roots()));
    QStringList events;
    QObject::connect(&monitor, &VolumeMonitor::volumeUnmounted, [&](const Volume &v) {
        events << QStringLiteral("out ") + v.mountPath;
    });
    QObject::connect(&monitor, &VolumeMonitor::volumeMounted, [&](const Volume &v) {
        events << QStringLiteral("in ") + v.mountPath;
    });
    FakeVolumeTable::Mount again = card;
    again.id = 41;
    table.writeTable({root, again});
    monitor.rescan();
    EXPECT_EQ(events, (QStringList{QStringLiteral("out /media/me/CARD ONE"), QStringLiteral("in /media/me/CARD ONE")}));
}

TEST_F(VolumeMonitorTest, AnUnreadableOrEmptyTableKeepsTheLastOne)
{
    table.writeTable({root, card});
    VolumeMonitor monitor(Volumes(table.roots()));
    QSignalSpy unmounted(&monitor, &VolumeMonitor::volumeUnmounted);
    table.writeTable({});
    monitor.rescan();
    QFile::remove(table.roots().mountInfo);
    monitor.rescan();
    EXPECT_TRUE(unmounted.isEmpty());
    EXPECT_EQ(monitor.known().size(), 2);
}
