#include "tidy_send/LibraryFolderNames.h"

#include <QFileInfo>

namespace pomelark {

namespace {

QString absoluteClean(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

/// The same folder, also when one of the paths goes through a link (a home
/// folder under a linked /home).
bool samePath(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

LibraryFolderNames::LibraryFolderNames(const QString &libraryRoot, const QString &picturesFolder,
                                       const QString &homeFolder)
    : m_library(absoluteClean(libraryRoot)), m_holder(QFileInfo(m_library).path()),
      m_pictures(absoluteClean(picturesFolder)), m_home(absoluteClean(homeFolder))
{
}

QString LibraryFolderNames::allSet() const
{
    return tr("All set in your %1 folder").arg(nameOf(m_library));
}

QString LibraryFolderNames::wentInto() const
{
    const bool usersOwn = samePath(m_holder, m_pictures) || isHome(m_holder);
    const QString text = usersOwn ? tr("Went into %1 · in your %2 folder") : tr("Went into %1 · in the %2 folder");
    return text.arg(nameOf(m_library), nameOf(m_holder));
}

QString LibraryFolderNames::writeRequest() const
{
    return tr("Let Pomelark write to %1 → %2").arg(nameOf(m_holder), nameOf(m_library));
}

QString LibraryFolderNames::openFolder(const QString &folder) const
{
    return tr("Open %1 Folder").arg(nameOf(folder));
}

QString LibraryFolderNames::nameOf(const QString &folder) const
{
    const QString path = absoluteClean(folder);
    if (isHome(path))
        return tr("Home");
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

bool LibraryFolderNames::isHome(const QString &folder) const
{
    return samePath(folder, m_home);
}

} // namespace pomelark
