#pragma once

#include "platform/SerialExecutor.h"
#include "services/WorkingFolders.h"

#include <qcoro/qcorotask.h>

namespace pomelark {

class ThumbnailMemoryCache;

/// Empties the working folders between sessions and removes them at quit, so
/// nothing of an earlier session leaks into the next. Every file-system failure
/// is ignored: a folder that cannot be removed keeps its contents.
class CacheJanitor {
public:
    explicit CacheJanitor(WorkingFolders folders = WorkingFolders::standard(),
                          ThumbnailMemoryCache *thumbnails = nullptr);

    static CacheJanitor &shared();

    /// Removes and makes again "video-playback", "video-thumbnails" and
    /// "export-staging", removes "workspace", then empties the photo thumbnail
    /// memory cache. Never fails.
    QCoro::Task<void> resetForNewSession();

    /// Removes all four working folders of `folders`, on the calling thread.
    /// Never fails. For the app's last moments.
    static void purgeOnTerminate(const WorkingFolders &folders = WorkingFolders::standard());

private:
    WorkingFolders m_folders;
    ThumbnailMemoryCache *m_thumbnails;
    SerialExecutor m_executor{QStringLiteral("CacheJanitor")};
};

} // namespace pomelark
