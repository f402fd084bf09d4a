#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QThreadPool>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <atomic>
#include <coroutine>
#include <functional>
#include <memory>
#include <optional>

namespace pomelark {

/// A photo decoded straight at `maxPixelSize` on its longer side, EXIF
/// orientation applied; nothing when the file cannot be opened or decoded.
/// Safe on any thread.
std::optional<QImage> loadThumbnailImage(const QUrl &url, int maxPixelSize);

/// What a load that may give up its turn ended with.
struct ThumbnailLoad {
    std::optional<QImage> image; ///< nothing when the photo cannot be decoded, or when withdrawn
    bool withdrawn = false;      ///< gave up its turn before decoding: nothing was decoded
};

/// The process-wide memory cache of photo thumbnails shared by every view.
///
/// Its state lives on the main thread. Decodes run on its own pool, at most
/// `maxConcurrentLoads` at a time in the whole process; further loads wait for
/// a slot in arrival order. At most `maxItems` thumbnails are kept, the least
/// recently used dropped first. Nothing is stored on disk.
///
/// The cache goes without waiting for a decode, which a card that stopped
/// answering may hold: that decode ends on its own, its picture thrown away,
/// and the loads still under way are never resumed.
class ThumbnailMemoryCache {
public:
    static constexpr int maxItems = 200;
    static constexpr int maxConcurrentLoads = 2;
    static constexpr int thumbnailPixelSize = 256;

    using Decoder = std::function<std::optional<QImage>(const QUrl &url, int maxPixelSize)>;

    /// `decoder` stands in for loadThumbnailImage in tests.
    explicit ThumbnailMemoryCache(Decoder decoder = loadThumbnailImage);
    /// Returns at once, abandoning the decodes that still run.
    ~ThumbnailMemoryCache();

    static ThumbnailMemoryCache &shared();

    /// The photo's thumbnail, from memory or decoded now; nothing when the
    /// photo cannot be decoded (which is not remembered). Never fails.
    QCoro::Task<std::optional<QImage>> thumbnail(QUrl url);

    /// Asked when a load's turn to decode comes: false gives the turn up.
    using StillWanted = std::function<bool()>;
    /// As thumbnail(), for a view that may be gone by the time its turn comes:
    /// when `stillWanted` says no once a slot is the load's and the photo is not
    /// in memory, the slot passes on without a decode and the load ends withdrawn.
    QCoro::Task<ThumbnailLoad> thumbnailIfStillWanted(QUrl url, StillWanted stillWanted);

    /// Returns once the caller holds one of the load slots.
    QCoro::Task<void> acquireLoadSlot();
    /// Hands the slot to the oldest waiter, or frees it.
    void releaseLoadSlot();
    /// Marks `url` as the most recently used.
    void touch(const QUrl &url);
    /// Drops the least recently used thumbnails while more than maxItems are held.
    void evictIfNeeded();
    /// Forgets every thumbnail (a new session). Loads in flight and waiters are left alone.
    void removeAll();

    bool contains(const QUrl &url) const { return m_cache.contains(url); }
    qsizetype count() const { return m_cache.size(); }
    const QList<QUrl> &accessOrder() const { return m_accessOrder; }
    int activeLoads() const { return m_activeLoads; }
    qsizetype waitingLoads() const { return m_loadWaiters.size(); }

private:
    class SlotAwaiter;

    Decoder m_decoder;
    QHash<QUrl, QImage> m_cache;
    QList<QUrl> m_accessOrder;
    int m_activeLoads = 0;
    QList<std::coroutine_handle<>> m_loadWaiters;
    std::shared_ptr<QThreadPool> m_decodePool = std::make_shared<QThreadPool>();
    /// Set as the cache goes: from then on no load resumes.
    std::shared_ptr<std::atomic_bool> m_gone = std::make_shared<std::atomic_bool>(false);
};

} // namespace pomelark
