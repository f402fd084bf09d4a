#include "platform/PhotoLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

namespace pomelark {

namespace {

QString dateFolder(const QString &root, const QDateTime &date)
{
    return root + QLatin1Char('/') + date.toLocalTime().toString(QStringLiteral("yyyy/MM/dd"));
}

/// Removes `folders` (outermost first) deepest first, each only when empty: a
/// folder that another add has filled meanwhile stays.
void removeEmptyFolders(const QStringList &folders)
{
    for (auto folder = folders.crbegin(); folder != folders.crend(); ++folder)
        ::rmdir(QFile::encodeName(*folder).constData());
}

/// Makes the year, month and day folders of `date` below `root` where missing;
/// returns those it made, outermost first. Throws PhotoLibrary::Error.
QStringList makeDateFolders(const QString &root, const QDateTime &date)
{
    QStringList made;
    QString path = root;
    for (const QString &part : dateFolder(QString(), date).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path += QLatin1Char('/') + part;
        if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0) {
            made.append(path);
            continue;
        }
        const int error = errno;
        if (error == EEXIST && QFileInfo(path).isDir())
            continue;
        removeEmptyFolders(made);
        throw PhotoLibrary::Error(PhotoLibrary::Error::Kind::makeFolder, QStringLiteral("Cannot make the folder ") + path,
                                  error == EEXIST ? ENOTDIR : error);
    }
    return made;
}

/// Letters and digits only, as mkostemp() makes them.
bool isTemporarySuffix(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    });
}

} // namespace

PhotoLibrary::PhotoLibrary(QString root) : m_root(std::move(root)) {}

QString PhotoLibrary::defaultRoot()
{
    const QString configured = qEnvironmentVariable("POMELARK_PHOTOS_DIR");
    if (!configured.isEmpty())
        return configured;
    return picturesFolder() + QStringLiteral("/Photos");
}

QString PhotoLibrary::picturesFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
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
            throw Error(Error::Kind::openFile, QStringLiteral("Cannot open the file"), ENOENT);
        date = info.lastModified();
    }
    std::error_code madeRoot;
    std::filesystem::create_directories(QFile::encodeName(m_root).toStdString(), madeRoot);
    if (madeRoot) {
        // Something that is no folder stands in the way.
        const int error = madeRoot.value() == EEXIST ? ENOTDIR : madeRoot.value();
        throw Error(Error::Kind::makeFolder, QStringLiteral("Cannot make the folder ") + m_root, error);
    }
    const QStringList made = makeDateFolders(m_root, *date);
    try {
        return NoReplaceCopy::copy(file, dateFolder(m_root, *date), fileName, date);
    } catch (...) {
        removeEmptyFolders(made);
        throw;
    }
}

void PhotoLibrary::sweepLeftovers(const QDateTime &now) const
{
    const QDateTime untouchedSince = now.addSecs(-leftoverAgeSeconds);
    const QDir::Filters folders = QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks;
    const QString prefix = QString::fromLatin1(NoReplaceCopy::temporaryPrefix);
    for (const QFileInfo &year : QDir(m_root).entryInfoList(folders)) {
        for (const QFileInfo &month : QDir(year.filePath()).entryInfoList(folders)) {
            for (const QFileInfo &day : QDir(month.filePath()).entryInfoList(folders)) {
                const QFileInfoList candidates = QDir(day.filePath())
                                                     .entryInfoList({prefix + QLatin1Char('*')},
                                                                    QDir::Files | QDir::Hidden | QDir::NoSymLinks);
                for (const QFileInfo &candidate : candidates) {
                    const QString suffix = candidate.fileName().mid(prefix.size());
                    if (suffix.size() != NoReplaceCopy::temporarySuffixLength || !isTemporarySuffix(suffix))
                        continue;
                    // The status time, which no one can set back: an add in
                    // progress changes it with every write.
                    if (candidate.metadataChangeTime() < untouchedSince)
                        QFile::remove(candidate.filePath());
                }
            }
        }
    }
}

} // namespace pomelark
