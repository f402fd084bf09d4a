#include "services/CacheJanitor.h"

#include "services/ThumbnailMemoryCache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pomelark {

namespace {

/// Removes `path` with everything in it. A link is removed itself: what it
/// points to is never ours to delete.
void removeTree(const QString &path)
{
    if (QFileInfo(path).isSymLink())
        QFile::remove(path);
    else
        QDir(path).removeRecursively();
}

} // namespace

CacheJanitor::CacheJanitor(WorkingFolders folders, ThumbnailMemoryCache *thumbnails)
    : m_folders(std::move(folders)), m_thumbnails(thumbnails ? thumbnails : &ThumbnailMemoryCache::shared())
{
}

CacheJanitor &CacheJanitor::shared()
{
    static CacheJanitor instance;
    return instance;
}

QCoro::Task<void> CacheJanitor::resetForNewSession()
{
    const WorkingFolders folders = m_folders;
    auto reset = [folders] {
        for (const QString &path : {folders.videoPlayback(), folders.videoThumbnails(), folders.exportStaging()}) {
            removeTree(path);
            QDir().mkpath(path);
        }
        removeTree(folders.workspace());
    };
    co_await m_executor.run(reset);
    m_thumbnails->removeAll();
}

void CacheJanitor::purgeOnTerminate(const WorkingFolders &folders)
{
    for (const QString &path :
         {folders.videoPlayback(), folders.videoThumbnails(), folders.exportStaging(), folders.workspace()})
        removeTree(path);
}

} // namespace pomelark
