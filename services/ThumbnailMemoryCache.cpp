#include "services/ThumbnailMemoryCache.h"

#include "platform/AbandonedPools.h"
#include "platform/ImageSource.h"
#include "platform/SerialExecutor.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace pomelark {

std::optional<QImage> loadThumbnailImage(const QUrl &url, int maxPixelSize)
{
    if (!url.isLocalFile())
        return std::nullopt;
    QImage image = ImageSource(url.toLocalFile()).decode(maxPixelSize, true);
    if (image.isNull())
        return std::nullopt;
    image.setDevicePixelRatio(1);
    return image;
}

/// Suspends the caller at the end of the waiter queue; releaseLoadSlot() resumes it.
class ThumbnailMemoryCache::SlotAwaiter {
public:
    explicit SlotAwaiter(ThumbnailMemoryCache &cache) : m_cache(cache) {}
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> waiter) { m_cache.m_loadWaiters.append(waiter); }
    void await_resume() const noexcept {}

private:
    ThumbnailMemoryCache &m_cache;
};

ThumbnailMemoryCache::ThumbnailMemoryCache(Decoder decoder) : m_decoder(std::move(decoder))
{
    m_decodePool->setMaxThreadCount(maxConcurrentLoads);
    m_decodePool->setObjectName(QStringLiteral("ThumbnailDecode"));
}

ThumbnailMemoryCache::~ThumbnailMemoryCache()
{
    // The decoders only read, so nothing is left half written. The shared
    // cache goes as the program ends, which no decode may hold up.
    *m_gone = true;
    m_decodePool->clear();
    if (!m_decodePool->waitForDone(0))
        AbandonedPools::keep(std::move(m_decodePool));
}

ThumbnailMemoryCache &ThumbnailMemoryCache::shared()
{
    static ThumbnailMemoryCache instance;
    return instance;
}

QCoro::Task<void> ThumbnailMemoryCache::acquireLoadSlot()
{
    if (m_activeLoads < maxConcurrentLoads) {
        ++m_activeLoads;
        co_return;
    }
    // Resumed by releaseLoadSlot(), which hands its slot straight over.
    co_await SlotAwaiter(*this);
}

void ThumbnailMemoryCache::releaseLoadSlot()
{
    if (m_loadWaiters.isEmpty()) {
        --m_activeLoads;
        return;
    }
    const std::coroutine_handle<> next = m_loadWaiters.takeFirst();
    // Resumed from the event loop, not inside the releasing caller's frame,
    // unless the cache went meanwhile.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [next, gone = m_gone] {
        if (!*gone)
            next.resume();
    }, Qt::QueuedConnection);
}

void ThumbnailMemoryCache::touch(const QUrl &url)
{
    m_accessOrder.removeAll(url);
    m_accessOrder.append(url);
}

void ThumbnailMemoryCache::evictIfNeeded()
{
    while (m_cache.size() > maxItems && !m_accessOrder.isEmpty())
        m_cache.remove(m_accessOrder.takeFirst());
}

void ThumbnailMemoryCache::removeAll()
{
    m_cache.clear();
    m_accessOrder.clear();
}

QCoro::Task<std::optional<QImage>> ThumbnailMemoryCache::thumbnail(QUrl url)
{
    co_return (co_await thumbnailIfStillWanted(std::move(url), {})).image;
}

QCoro::Task<ThumbnailLoad> ThumbnailMemoryCache::thumbnailIfStillWanted(QUrl url, StillWanted stillWanted)
{
    if (const auto hit = m_cache.constFind(url); hit != m_cache.constEnd()) {
        touch(url);
        co_return ThumbnailLoad{*hit};
    }
    co_await acquireLoadSlot();
    // Another caller may have loaded it while this one waited.
    if (const auto hit = m_cache.constFind(url); hit != m_cache.constEnd()) {
        const QImage image = *hit;
        touch(url);
        releaseLoadSlot();
        co_return ThumbnailLoad{image};
    }
    // A tile that scrolled away while it waited would spend the slot on a
    // picture nobody sees, while the tiles now on screen wait behind it.
    if (stillWanted && !stillWanted()) {
        releaseLoadSlot();
        co_return ThumbnailLoad{std::nullopt, true};
    }

    const Decoder decoder = m_decoder;
    auto decode = [decoder, url] { return decoder(url, thumbnailPixelSize); };
    std::optional<QImage> image;
    try {
        image = co_await runOnPool(*m_decodePool, decode, m_gone);
    } catch (...) {
        image.reset(); // a decoder that throws yields no image, like one that fails
    }
    if (image) {
        m_cache.insert(url, *image);
        m_accessOrder.append(url);
        evictIfNeeded();
    }
    releaseLoadSlot();
    co_return ThumbnailLoad{std::move(image)};
}

} // namespace pomelark
