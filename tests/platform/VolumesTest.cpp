#include "platform/Volumes.h"

#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace pomelark;
using namespace pomelark::test;

namespace {

/// A fake /proc/self/mountinfo, /sys and /dev/disk/by-uuid in one temporary folder.
class FakeMachine {
public:
    FakeMachine()
    {
        m_root.makeFolder(QStringLiteral("sys/dev/block"));
        m_root.makeFolder(QStringLiteral("by-uuid"));
        m_root.makeFolder(QStringLiteral("home/me"));
    }

    Volumes::Roots roots() const
    {
        return {m_root.filePath(QStringLiteral("mountinfo")), m_root.filePath(QStringLiteral("sys")),
                m_root.filePath(QStringLiteral("by-uuid")), QStringLiteral("/home/me")};
    }

    void addMount(const QString &deviceId, const QString &mountPath, const QString &fsType, const QString &source)
    {
        m_table += QStringLiteral("%1 1 %2 / %3 rw,relatime shared:1 - %4 %5 rw\n")
                       .arg(++m_id)
                       .arg(deviceId, mountPath, fsType, source);
        QFile file(m_root.filePath(QStringLiteral("mountinfo")));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(m_table.toUtf8());
    }

    /// A block device at `devicePath` (below sys/devices), linked from sys/dev/block/<id>.
    void addBlockDevice(const QString &deviceId, const QString &devicePath, bool partition, bool removable,
                        const QString &mmcType = {})
    {
        const QString device = m_root.makeFolder(QStringLiteral("sys/devices/") + devicePath);
        QString disk = device;
        if (partition) {
            makeTextFile(device + QStringLiteral("/partition"), "1\n");
            disk = QFileInfo(device).absolutePath();
        }
        makeTextFile(disk + QStringLiteral("/removable"), removable ? "1\n" : "0\n");
        if (!mmcType.isEmpty())
            makeTextFile(disk + QStringLiteral("/device/type"), mmcType.toUtf8() + '\n');
        makeLink(m_root.filePath(QStringLiteral("sys/dev/block/") + deviceId), device);
    }

    void addUuid(const QString &uuid, const QString &deviceName)
    {
        makeLink(m_root.filePath(QStringLiteral("by-uuid/") + uuid), QStringLiteral("../../") + deviceName);
    }

private:
    TempFolder m_root;
    QString m_table;
    int m_id = 20;
};

} // namespace

TEST(Volumes, ReadsTheTableInOrderWithFlagsFromSysfs)
{
    FakeMachine machine;
    machine.addMount(QStringLiteral("259:2"), QStringLiteral("/"), QStringLiteral("ext4"), QStringLiteral("/dev/nvme0n1p2"));
    machine.addMount(QStringLiteral("0:22"), QStringLiteral("/proc"), QStringLiteral("proc"), QStringLiteral("proc"));
    machine.addMount(QStringLiteral("8:17"), QStringLiteral("/media/me/CANON"), QStringLiteral("vfat"), QStringLiteral("/dev/sdb1"));
    machine.addMount(QStringLiteral("179:1"), QStringLiteral("/media/me/SD\\040CARD"), QStringLiteral("exfat"), QStringLiteral("/dev/mmcblk0p1"));
    machine.addMount(QStringLiteral("179:33"), QStringLiteral("/mnt/emmc"), QStringLiteral("ext4"), QStringLiteral("/dev/mmcblk1p1"));
    machine.addMount(QStringLiteral("0:40"), QStringLiteral("/run/user/1000"), QStringLiteral("tmpfs"), QStringLiteral("tmpfs"));
    machine.addBlockDevice(QStringLiteral("259:2"), QStringLiteral("pci0000:00/nvme/nvme0n1/nvme0n1p2"), true, false);
    machine.addBlockDevice(QStringLiteral("8:17"), QStringLiteral("pci0000:00/usb2/2-1/host6/block/sdb/sdb1"), true, true);
    // A built-in SD reader reports removable 0; the SD type still makes it a card.
    machine.addBlockDevice(QStringLiteral("179:1"), QStringLiteral("platform/mmc0/block/mmcblk0/mmcblk0p1"), true, false, QStringLiteral("SD"));
    // Soldered eMMC is not a card.
    machine.addBlockDevice(QStringLiteral("179:33"), QStringLiteral("platform/mmc1/block/mmcblk1/mmcblk1p1"), true, false, QStringLiteral("MMC"));
    machine.addUuid(QStringLiteral("1234-ABCD"), QStringLiteral("sdb1"));

    const QList<Volume> volumes = Volumes(machine.roots()).mounted();
    ASSERT_EQ(volumes.size(), 6);
    EXPECT_EQ(volumes[0].mountPath, QStringLiteral("/"));
    EXPECT_EQ(volumes[2].mountPath, QStringLiteral("/media/me/CANON"));
    EXPECT_EQ(volumes[3].mountPath, QStringLiteral("/media/me/SD CARD"));

    EXPECT_TRUE(volumes[1].hidden);
    EXPECT_TRUE(volumes[5].hidden);
    EXPECT_FALSE(volumes[0].hidden);

    EXPECT_FALSE(volumes[0].removable || volumes[0].ejectable);
    EXPECT_TRUE(volumes[2].removable);
    EXPECT_TRUE(volumes[2].ejectable);
    EXPECT_EQ(volumes[2].uuid, QStringLiteral("1234-ABCD"));
    EXPECT_FALSE(volumes[3].removable);
    EXPECT_TRUE(volumes[3].ejectable);
    EXPECT_FALSE(volumes[4].removable || volumes[4].ejectable);
    EXPECT_TRUE(volumes[4].uuid.isEmpty());
}

TEST(Volumes, TheVolumeHoldingRootOrHomeIsNeverACard)
{
    FakeMachine machine;
    // A machine that boots from a USB stick, with home on a removable disk.
    machine.addMount(QStringLiteral("8:1"), QStringLiteral("/"), QStringLiteral("ext4"), QStringLiteral("/dev/sda1"));
    machine.addMount(QStringLiteral("8:17"), QStringLiteral("/home"), QStringLiteral("ext4"), QStringLiteral("/dev/sdb1"));
    machine.addMount(QStringLiteral("8:33"), QStringLiteral("/media/me/CARD"), QStringLiteral("vfat"), QStringLiteral("/dev/sdc1"));
    machine.addBlockDevice(QStringLiteral("8:1"), QStringLiteral("pci/usb1/1-1/block/sda/sda1"), true, true);
    machine.addBlockDevice(QStringLiteral("8:17"), QStringLiteral("pci/usb1/1-2/block/sdb/sdb1"), true, true);
    machine.addBlockDevice(QStringLiteral("8:33"), QStringLiteral("pci/usb1/1-3/block/sdc/sdc1"), true, true);

    const QList<Volume> volumes = Volumes(machine.roots()).mounted();
    ASSERT_EQ(volumes.size(), 3);
    EXPECT_FALSE(volumes[0].removable || volumes[0].ejectable);
    EXPECT_FALSE(volumes[1].removable || volumes[1].ejectable);
    EXPECT_TRUE(volumes[2].removable && volumes[2].ejectable);
}

TEST(Volumes, SystemPathsAreHiddenButRunMediaIsNot)
{
    FakeMachine machine;
    machine.addMount(QStringLiteral("8:1"), QStringLiteral("/boot/efi"), QStringLiteral("vfat"), QStringLiteral("/dev/sda1"));
    machine.addMount(QStringLiteral("8:2"), QStringLiteral("/snap/core/1"), QStringLiteral("squashfs"), QStringLiteral("/dev/loop0"));
    machine.addMount(QStringLiteral("8:3"), QStringLiteral("/run/media/me/CARD"), QStringLiteral("vfat"), QStringLiteral("/dev/sdc1"));
    machine.addMount(QStringLiteral("8:4"), QStringLiteral("/var/lib/docker/overlay"), QStringLiteral("overlay"), QStringLiteral("overlay"));
    const QList<Volume> volumes = Volumes(machine.roots()).mounted();
    ASSERT_EQ(volumes.size(), 4);
    EXPECT_TRUE(volumes[0].hidden);
    EXPECT_TRUE(volumes[1].hidden);
    EXPECT_FALSE(volumes[2].hidden);
    EXPECT_TRUE(volumes[3].hidden);
}

TEST(Volumes, BadTablesGiveWhatCanBeRead)
{
    FakeMachine machine;
    Volumes::Roots roots = machine.roots();
    EXPECT_TRUE(Volumes(roots).mounted().isEmpty()); // no table at all

    makeTextFile(roots.mountInfo, "garbage\n\n1 2 3\n36 35 98:0 /mnt1 /mnt/a rw - ext3 /dev/root rw\n"
                                  "x y z w v u - \n");
    const QList<Volume> volumes = Volumes(roots).mounted();
    ASSERT_EQ(volumes.size(), 1);
    EXPECT_EQ(volumes[0].mountPath, QStringLiteral("/mnt/a"));
    EXPECT_FALSE(volumes[0].removable); // no sysfs entry
}

TEST(Volumes, DecodesOctalEscapes)
{
    EXPECT_EQ(Volumes::decodeMountField("/media/a\\040b\\011c\\012d\\134e"), QStringLiteral("/media/a b\tc\nd\\e"));
    EXPECT_EQ(Volumes::decodeMountField("/trailing\\04"), QStringLiteral("/trailing\\04"));
    EXPECT_EQ(Volumes::decodeMountField("/\\303\\251t\\303\\251"), QStringLiteral("/été"));
}
