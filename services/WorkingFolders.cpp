#include "services/WorkingFolders.h"

#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

namespace pomelark {

WorkingFolders::WorkingFolders(QString root) : m_root(QDir::cleanPath(root)) {}

WorkingFolders WorkingFolders::standard()
{
    // The generic location, not CacheLocation: the latter adds the organisation
    // name and would give ~/.cache/Pomelark/Pomelark.
    const QString shared = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (shared.isEmpty())
        return WorkingFolders(QDir::tempPath() + QStringLiteral("/Pomelark-cache-") + QString::number(::getuid()));
    return WorkingFolders(shared + QStringLiteral("/Pomelark"));
}

QString WorkingFolders::videoPlayback() const
{
    return m_root + QStringLiteral("/video-playback");
}

QString WorkingFolders::videoThumbnails() const
{
    return m_root + QStringLiteral("/video-thumbnails");
}

QString WorkingFolders::exportStaging() const
{
    return m_root + QStringLiteral("/export-staging");
}

QString WorkingFolders::workspace() const
{
    return m_root + QStringLiteral("/workspace");
}

} // namespace pomelark
