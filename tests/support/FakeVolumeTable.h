#pragma once

#include "platform/Volumes.h"

#include <QList>
#include <QString>

namespace pomelark::test {

/// A fake mount table with the sysfs and by-uuid trees behind it, all inside
/// `root`, for driving volume code without real mounts.
class FakeVolumeTable {
public:
    struct Mount {
        int id = 0;
        QString path;
        QString deviceId;          ///< "major:minor"
        QString source;            ///< such as /dev/sdb1
        QString fsType = QStringLiteral("vfat");
    };

    /// Lays out an empty table, sysfs and by-uuid folder under `root`; the home
    /// folder is `root`/home.
    explicit FakeVolumeTable(const QString &root);

    Volumes::Roots roots() const;
    QString root() const { return m_root; }

    /// A partition `name` (such as "sdb1") of a disk on a USB bus whose medium is
    /// removable, with `uuid` listed in by-uuid when not empty.
    void addCardDevice(const QString &name, const QString &deviceId, const QString &uuid);
    /// A partition of a fixed internal disk.
    void addInternalDevice(const QString &name, const QString &deviceId, const QString &uuid = {});
    /// Points `uuid` at device `name`, or removes the link for `uuid` when `name` is empty.
    void setUuid(const QString &uuid, const QString &name);

    /// Rewrites the table with these mounts, in this order.
    void writeTable(const QList<Mount> &mounts) const;

private:
    void addDevice(const QString &name, const QString &deviceId, const QString &uuid, bool card);

    QString m_root;
};

} // namespace pomelark::test
