#include "support/FakeVolumeTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace pomelark::test {

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        throw std::runtime_error("cannot write fake volume file");
}

void link(const QString &target, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    if (!QFile::link(target, path))
        throw std::runtime_error("cannot link fake volume file");
}

/// The kernel's escaping of blanks and backslashes in mount-table fields.
QByteArray escaped(const QString &field)
{
    QByteArray out;
    for (const char c : field.toUtf8()) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\\')
            out += QByteArray("\\") + QByteArray::number(int(uchar(c)), 8).rightJustified(3, '0');
        else
            out += c;
    }
    return out;
}

} // namespace

FakeVolumeTable::FakeVolumeTable(const QString &root) : m_root(QFileInfo(root).canonicalFilePath())
{
    QDir().mkpath(m_root + QStringLiteral("/sys/dev/block"));
    QDir().mkpath(m_root + QStringLiteral("/by-uuid"));
    QDir().mkpath(m_root + QStringLiteral("/home"));
    writeTable({});
}

Volumes::Roots FakeVolumeTable::roots() const
{
    Volumes::Roots roots;
    roots.mountInfo = m_root + QStringLiteral("/mountinfo");
    roots.sys = m_root + QStringLiteral("/sys");
    roots.diskByUuid = m_root + QStringLiteral("/by-uuid");
    roots.home = m_root + QStringLiteral("/home");
    return roots;
}

void FakeVolumeTable::addCardDevice(const QString &name, const QString &deviceId, const QString &uuid)
{
    addDevice(name, deviceId, uuid, true);
}

void FakeVolumeTable::addInternalDevice(const QString &name, const QString &deviceId, const QString &uuid)
{
    addDevice(name, deviceId, uuid, false);
}

void FakeVolumeTable::addDevice(const QString &name, const QString &deviceId, const QString &uuid, bool card)
{
    const QString disk = name.left(3) + QStringLiteral("-disk");
    const QString bus = card ? QStringLiteral("/sys/devices/pci0000:00/usb1/1-1/host6/block/")
                             : QStringLiteral("/sys/devices/pci0000:00/ata1/host0/block/");
    const QString diskPath = m_root + bus + disk;
    writeFile(diskPath + QStringLiteral("/removable"), card ? "1\n" : "0\n");
    writeFile(diskPath + QLatin1Char('/') + name + QStringLiteral("/partition"), "1\n");
    link(diskPath + QLatin1Char('/') + name, m_root + QStringLiteral("/sys/dev/block/") + deviceId);
    if (!uuid.isEmpty())
        setUuid(uuid, name);
}

void FakeVolumeTable::setUuid(const QString &uuid, const QString &name)
{
    const QString path = m_root + QStringLiteral("/by-uuid/") + uuid;
    if (name.isEmpty())
        QFile::remove(path);
    else
        link(QStringLiteral("../../dev/") + name, path);
}

void FakeVolumeTable::writeTable(const QList<Mount> &mounts) const
{
    QByteArray table;
    for (const Mount &mount : mounts) {
        table += QByteArray::number(mount.id) + " 1 " + mount.deviceId.toUtf8() + " / " + escaped(mount.path)
                 + " rw,nosuid shared:1 - " + mount.fsType.toUtf8() + ' ' + escaped(mount.source) + " rw\n";
    }
    writeFile(m_root + QStringLiteral("/mountinfo"), table);
}

} // namespace pomelark::test
