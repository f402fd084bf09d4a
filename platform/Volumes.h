#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace pomelark {

/// One mounted file system, as the mount table lists it.
struct Volume {
    int mountId = 0;    ///< the kernel's id of this mount; a remount gets a new one
    QString mountPath;  ///< where it is mounted, octal escapes decoded
    QString source;     ///< the mount source, such as /dev/sdb1
    QString fsType;     ///< file-system type, such as vfat or exfat
    QString deviceId;   ///< "major:minor" of the mounted device
    QString uuid;       ///< file-system UUID from /dev/disk/by-uuid, empty when none is listed
    bool removable = false; ///< the block device says its medium can be removed
    bool ejectable = false; ///< the device sits on a USB bus or is an SD card
    bool hidden = false;    ///< a pseudo or system mount that users never pick
};

/// The mounted volumes of this machine, read from the kernel's files.
///
/// Every root is injectable so tests can hand in a fake mount table and a fake
/// sysfs tree; the defaults read the real ones.
class Volumes {
public:
    struct Roots {
        QString mountInfo = QStringLiteral("/proc/self/mountinfo");
        QString sys = QStringLiteral("/sys");
        QString diskByUuid = QStringLiteral("/dev/disk/by-uuid");
        QString home;    ///< the user's home folder; empty means QDir::homePath()
    };

    Volumes();
    explicit Volumes(Roots roots);

    const Roots &roots() const { return m_roots; }

    /// The volumes in mount-table order. An unreadable table gives an empty list;
    /// unreadable sysfs entries leave a volume neither removable nor ejectable.
    QList<Volume> mounted() const;

    /// The mount that holds `path` (an absolute, clean path): the one with the
    /// longest mount path above it, the last listed on a tie, since later mounts
    /// stack over earlier ones. Nothing when no mount holds it.
    static std::optional<Volume> holding(const QList<Volume> &volumes, const QString &path);

    /// Decodes the octal escapes (\040 and friends) the kernel writes into mount paths.
    static QString decodeMountField(const QByteArray &field);

private:
    Roots m_roots;
};

} // namespace pomelark
