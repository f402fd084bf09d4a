#include "platform/PhotoLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace pomelark {

PhotoLibrary::PhotoLibrary(QString root) : m_root(std::move(root)) {}

QString PhotoLibrary::defaultRoot()
{
    const QString configured = qEnvironmentVariable("POMELARK_PHOTOS_DIR");
    if (!configured.isEmpty())
        return configured;
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) + QStringLiteral("/Photos");
}

PhotoLibrary::Access PhotoLibrary::access() const
{
    const QFileInfo info(m_root);
    if (!info.exists())
        return Access::notDetermined;
    const bool writable = info.isDir() && ::access(QFile::encodeName(m_root).constData(), W_OK | X_OK) == 0;
    return writable ? Access::authorized : Access::denied;
}

PhotoLibrary::Access PhotoLibrary::requestAccess() const
{
    if (!QFileInfo::exists(m_root) && !QDir().mkpath(m_root))
        return Access::denied;
    return access() == Access::authorized ? Access::authorized : Access::denied;
}

QString PhotoLibrary::add(const QString &file, const QString &fileName, std::optional<QDateTime> date) const
{
    if (!date) {
        // The folder is chosen by the file's own time; a file we cannot see fails
        // here, before any folder is made for it.
        const QFileInfo info(file);
        if (!info.exists())
            throw Error(QString(QStringLiteral("Cannot open the file: ") + QString::fromLocal8Bit(std::strerror(ENOENT)))
                            .toStdString());
        date = info.lastModified();
    }
    const QString folderPath = m_root + QLatin1Char('/') + date->toLocalTime().toString(QStringLiteral("yyyy/MM/dd"));
    if (!QDir().mkpath(folderPath))
        throw Error(QString(QStringLiteral("Cannot make the folder ") + folderPath).toStdString());
    return NoReplaceCopy::copy(file, folderPath, fileName, date);
}

} // namespace pomelark
