#include "platform/Volumes.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace pomelark {

namespace {

const QSet<QString> &pseudoFileSystems()
{
    static const QSet<QString> types = {
        QStringLiteral("proc"), QStringLiteral("sysfs"), QStringLiteral("tmpfs"),
        QStringLiteral("devtmpfs"), QStringLiteral("devpts"), QStringLiteral("overlay"),
        QStringLiteral("cgroup"), QStringLiteral("cgroup2"), QStringLiteral("squashfs"),
        QStringLiteral("mqueue"), QStringLiteral("debugfs"), QStringLiteral("tracefs"),
        QStringLiteral("securityfs"), QStringLiteral("pstore"), QStringLiteral("bpf"),
        QStringLiteral("configfs"), QStringLiteral("fusectl"), QStringLiteral("hugetlbfs"),
        QStringLiteral("autofs"), QStringLiteral("binfmt_misc"), QStringLiteral("efivarfs"),
        QStringLiteral("nsfs"), QStringLiteral("ramfs"), QStringLiteral("rpc_pipefs"),
        QStringLiteral("nfsd"), QStringLiteral("fuse.gvfsd-fuse"), QStringLiteral("fuse.portal"),
        QStringLiteral("fuse.lxcfs"), QStringLiteral("selinuxfs"),
    };
    return types;
}

bool isUnder(const QString &path, const QString &root)
{
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

bool isSystemPath(const QString &mountPath)
{
    if (isUnder(mountPath, QStringLiteral("/run/media")))
        return false;
    static const QStringList roots = {
        QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev"),
        QStringLiteral("/run"), QStringLiteral("/boot"), QStringLiteral("/snap"),
    };
    for (const QString &root : roots) {
        if (isUnder(mountPath, root))
            return true;
    }
    return false;
}

QString readTrimmed(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).trimmed();
}

} // namespace

Volumes::Volumes() : Volumes(Roots{}) {}

std::optional<Volume> Volumes::holding(const QList<Volume> &volumes, const QString &path)
{
    std::optional<Volume> best;
    for (const Volume &volume : volumes) {
        const bool holds = volume.mountPath == QLatin1String("/") ? path.startsWith(QLatin1Char('/'))
                                                                   : isUnder(path, volume.mountPath);
        if (holds && (!best || volume.mountPath.size() >= best->mountPath.size()))
            best = volume;
    }
    return best;
}

Volumes::Volumes(Roots roots) : m_roots(std::move(roots))
{
    if (m_roots.home.isEmpty())
        m_roots.home = QDir::homePath();
}

QString Volumes::decodeMountField(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = false;
            const int value = digits.toInt(&ok, 8);
            if (ok && digits.size() == 3 && value < 256) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return QString::fromUtf8(out);
}

QList<Volume> Volumes::mounted() const
{
    QList<Volume> volumes;
    QFile table(m_roots.mountInfo);
    if (!table.open(QIODevice::ReadOnly))
        return volumes;

    // mountinfo: id parent major:minor root mount-point options [optional...] - fstype source super-options
    const QList<QByteArray> lines = table.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf(QByteArrayLiteral("-"));
        if (fields.size() < 6 || separator < 6 || separator + 2 >= fields.size())
            continue;
        Volume volume;
        volume.mountId = fields[0].toInt();
        volume.deviceId = QString::fromLatin1(fields[2]);
        volume.mountPath = decodeMountField(fields[4]);
        volume.fsType = decodeMountField(fields[separator + 1]);
        volume.source = decodeMountField(fields[separator + 2]);
        volume.hidden = pseudoFileSystems().contains(volume.fsType) || isSystemPath(volume.mountPath);
        volumes.append(volume);
    }

    // Block-device facts from sysfs: /sys/dev/block/M:m points into the device tree.
    QHash<QString, QString> uuidByDevice;
    QDirIterator links(m_roots.diskByUuid, QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    while (links.hasNext()) {
        links.next();
        const QFileInfo link = links.fileInfo();
        if (link.isSymLink())
            uuidByDevice.insert(QFileInfo(link.symLinkTarget()).fileName(), link.fileName());
    }

    for (Volume &volume : volumes) {
        if (volume.hidden)
            continue;
        if (volume.source.startsWith(QLatin1String("/dev/")))
            volume.uuid = uuidByDevice.value(QFileInfo(volume.source).fileName());

        const QString node = m_roots.sys + QStringLiteral("/dev/block/") + volume.deviceId;
        const QString devicePath = QFileInfo(node).canonicalFilePath();
        if (devicePath.isEmpty())
            continue;
        // A partition's facts live on its disk, one level up.
        QString disk = devicePath;
        if (QFileInfo::exists(devicePath + QStringLiteral("/partition")))
            disk = QFileInfo(devicePath).absolutePath();
        volume.removable = readTrimmed(disk + QStringLiteral("/removable")) == QLatin1String("1");
        const QString diskName = QFileInfo(disk).fileName();
        const bool onUsb = devicePath.contains(QLatin1String("/usb"));
        const bool sdCard = diskName.startsWith(QLatin1String("mmcblk"))
            && readTrimmed(disk + QStringLiteral("/device/type")) == QLatin1String("SD");
        volume.ejectable = onUsb || sdCard;
    }

    // The volume holding the system or the user's home is never a card.
    for (const QString &path : {QStringLiteral("/"), m_roots.home}) {
        const std::optional<Volume> owner = holding(volumes, path);
        if (!owner)
            continue;
        const QString deviceId = owner->deviceId;
        for (Volume &volume : volumes) {
            if (volume.deviceId == deviceId) {
                volume.removable = false;
                volume.ejectable = false;
            }
        }
    }
    return volumes;
}

} // namespace pomelark
