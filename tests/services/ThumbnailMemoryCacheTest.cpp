#include "services/ThumbnailMemoryCache.h"

#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QMutex>
#include <QSemaphore>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

using namespace pomelark;
using namespace pomelark::test;

namespace {

QUrl photo(int n)
{
    return QUrl::fromLocalFile(QStringLiteral("/photos/%1.jpg").arg(n));
}

/// A decoder that blocks each decode until the test lets it finish, and
/// records what ran and how many ran at once.
class GatedDecoder {
public:
    ThumbnailMemoryCache::Decoder decoder()
    {
        return [this](const QUrl &url, int size) -> std::optional<QImage> {
            QSemaphore *gate;
            {
                QMutexLocker lock(&m_mutex);
                m_started.append(url);
                m_mostAtOnce = std::max(m_mostAtOnce, ++m_running);
                auto &slot = m_gates[url.toString()];
                if (!slot)
                    slot = std::make_unique<QSemaphore>();
                gate = slot.get();
            }
            gate->acquire();
            QMutexLocker lock(&m_mutex);
            --m_running;
            return QImage(size, size / 2, QImage::Format_RGB32);
        };
    }

    void finish(const QUrl &url)
    {
        QMutexLocker lock(&m_mutex);
        auto &slot = m_gates[url.toString()];
        if (!slot)
            slot = std::make_unique<QSemaphore>();
        slot->release();
    }

    QList<QUrl> started()
    {
        QMutexLocker lock(&m_mutex);
        return m_started;
    }

    int mostAtOnce()
    {
        QMutexLocker lock(&m_mutex);
        return m_mostAtOnce;
    }

private:
    QMutex m_mutex;
    QList<QUrl> m_started;
    std::map<QString, std::unique_ptr<QSemaphore>> m_gates;
    int m_running = 0;
    int m_mostAtOnce = 0;
};

ThumbnailMemoryCache::Decoder instantDecoder(int *calls = nullptr)
{
    return [calls](const QUrl &, int size) -> std::optional<QImage> {
        if (calls)
            ++*calls;
        return QImage(size, size, QImage::Format_RGB32);
    };
}

} // namespace

TEST(ThumbnailMemoryCache, AtMostTwoDecodesAndWaitersServedInArrivalOrder)
{
    GatedDecoder gated;
    ThumbnailMemoryCache cache(gated.decoder());
    auto first = cache.thumbnail(photo(1));
    auto second = cache.thumbnail(photo(2));
    auto third = cache.thumbnail(photo(3));
    auto fourth = cache.thumbnail(photo(4));

    ASSERT_TRUE(spinUntil([&] { return gated.started().size() == 2; }));
    EXPECT_EQ(cache.activeLoads(), 2);
    EXPECT_EQ(cache.waitingLoads(), 2);

    // The second to finish frees the slot the third takes over; the fourth stays behind it.
    gated.finish(photo(2));
    ASSERT_TRUE(spinUntil([&] { return gated.started().size() == 3; }));
    EXPECT_EQ(gated.started().last(), photo(3));
    EXPECT_EQ(cache.waitingLoads(), 1);
    EXPECT_EQ(cache.activeLoads(), 2);

    gated.finish(photo(1));
    ASSERT_TRUE(spinUntil([&] { return gated.started().size() == 4; }));
    EXPECT_EQ(gated.started().last(), photo(4));
    gated.finish(photo(3));
    gated.finish(photo(4));
    for (auto *task : {&first, &second, &third, &fourth})
        EXPECT_TRUE(awaitTask(std::move(*task)));
    EXPECT_EQ(gated.mostAtOnce(), 2);
    EXPECT_EQ(cache.activeLoads(), 0);
    EXPECT_EQ(cache.count(), 4);
}

TEST(ThumbnailMemoryCache, AWaiterFindsThePhotoLoadedMeanwhileAndDecodesNothing)
{
    GatedDecoder gated;
    ThumbnailMemoryCache cache(gated.decoder());
    auto first = cache.thumbnail(photo(1));
    auto second = cache.thumbnail(photo(2));
    auto again = cache.thumbnail(photo(1)); // waits for a slot
    ASSERT_TRUE(spinUntil([&] { return gated.started().size() == 2; }));
    gated.finish(photo(1));
    const auto image = awaitTask(std::move(again));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(256, 128));
    EXPECT_EQ(gated.started().count(photo(1)), 1);
    EXPECT_EQ(cache.activeLoads(), 1); // only the second's slot is still held
    gated.finish(photo(2));
    awaitTask(std::move(first));
    awaitTask(std::move(second));
    EXPECT_EQ(cache.activeLoads(), 0);
}

TEST(ThumbnailMemoryCache, AWaiterNoLongerWantedWhenItsTurnComesPassesTheSlotOnUndecoded)
{
    GatedDecoder gated;
    ThumbnailMemoryCache cache(gated.decoder());
    auto first = cache.thumbnail(photo(1));
    auto second = cache.thumbnail(photo(2));
    bool wanted = true;
    auto third = cache.thumbnailIfStillWanted(photo(3), [&] { return wanted; });
    auto fourth = cache.thumbnail(photo(4));
    ASSERT_TRUE(spinUntil([&] { return gated.started().size() == 2; }));

    wanted = false; // its view scrolled away while it waited
    gated.finish(photo(1));
    ASSERT_TRUE(spinUntil([&] { return gated.started().size() == 3; }));
    EXPECT_EQ(gated.started().last(), photo(4));
    const ThumbnailLoad withdrawn = awaitTask(std::move(third));
    EXPECT_TRUE(withdrawn.withdrawn);
    EXPECT_FALSE(withdrawn.image);
    EXPECT_FALSE(cache.contains(photo(3)));

    // A photo in memory is handed over whatever the view says: it costs no slot.
    const ThumbnailLoad hit = awaitTask(cache.thumbnailIfStillWanted(photo(1), [] { return false; }));
    EXPECT_TRUE(hit.image);
    EXPECT_FALSE(hit.withdrawn);
    gated.finish(photo(2));
    gated.finish(photo(4));
    for (auto *task : {&first, &second, &fourth})
        EXPECT_TRUE(awaitTask(std::move(*task)));
    EXPECT_EQ(cache.activeLoads(), 0);
}

TEST(ThumbnailMemoryCache, ACacheThatGoesMidDecodeGoesAtOnceAndNoLoadResumesIntoIt)
{
    const auto threads = [] { return QDir(QStringLiteral("/proc/self/task")).count(); };
    const qsizetype threadsBefore = threads();
    GatedDecoder gated;
    auto cache = std::make_unique<ThumbnailMemoryCache>(gated.decoder());
    // Kept, as the views awaiting them would keep them.
    static auto *loads = new std::vector<QCoro::Task<std::optional<QImage>>>;
    for (int n = 1; n <= 3; ++n)
        loads->push_back(cache->thumbnail(photo(n)));
    ASSERT_TRUE(spinUntil([&] { return gated.started().size() == 2; }));
    // The first ends and hands its slot to the third.
    gated.finish(photo(1));
    ASSERT_TRUE(spinUntil([&] { return gated.started().size() == 3; }));

    // Both decodes are held, as by a card that stopped answering.
    cache.reset();
    gated.finish(photo(2));
    gated.finish(photo(3));
    // The decode threads end with their jobs, after queueing any resume they would.
    ASSERT_TRUE(spinUntil([&] { return threads() <= threadsBefore; }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(loads->at(0).isReady());
    EXPECT_FALSE(loads->at(1).isReady());
    EXPECT_FALSE(loads->at(2).isReady());
}

TEST(ThumbnailMemoryCache, KeepsTheTwoHundredMostRecentlyUsed)
{
    int decodes = 0;
    ThumbnailMemoryCache cache(instantDecoder(&decodes));
    for (int i = 1; i <= 200; ++i)
        awaitTask(cache.thumbnail(photo(i)));
    EXPECT_EQ(cache.count(), 200);

    // A hit moves photo 1 to the recent end and decodes nothing.
    EXPECT_TRUE(awaitTask(cache.thumbnail(photo(1))));
    EXPECT_EQ(decodes, 200);

    awaitTask(cache.thumbnail(photo(201)));
    EXPECT_EQ(cache.count(), 200);
    EXPECT_TRUE(cache.contains(photo(1)));
    EXPECT_FALSE(cache.contains(photo(2)));
    EXPECT_TRUE(cache.contains(photo(201)));
}

TEST(ThumbnailMemoryCache, EvictionToleratesDuplicateAndStaleRecencyEntries)
{
    ThumbnailMemoryCache cache(instantDecoder());
    for (int i = 1; i <= 200; ++i)
        awaitTask(cache.thumbnail(photo(i)));
    // Two loads of one photo that both decoded leave its URL twice in the order.
    cache.touch(photo(7));
    cache.touch(photo(7));
    EXPECT_EQ(cache.accessOrder().count(photo(7)), 1); // touch keeps one entry
    awaitTask(cache.thumbnail(photo(300)));
    EXPECT_EQ(cache.count(), 200);
    cache.removeAll();
    EXPECT_EQ(cache.count(), 0);
    EXPECT_TRUE(cache.accessOrder().isEmpty());
    cache.evictIfNeeded(); // nothing to do, nothing to break
}

TEST(ThumbnailMemoryCache, FailedDecodesStoreNothingAndFreeTheSlot)
{
    TempFolder folder;
    ThumbnailMemoryCache cache;
    const QUrl text = QUrl::fromLocalFile(makeTextFile(folder.filePath(QStringLiteral("x.jpg"))));
    EXPECT_FALSE(awaitTask(cache.thumbnail(text)));
    EXPECT_FALSE(cache.contains(text));
    EXPECT_EQ(cache.activeLoads(), 0);

    ThumbnailMemoryCache throwing([](const QUrl &, int) -> std::optional<QImage> { throw std::runtime_error("x"); });
    EXPECT_FALSE(awaitTask(throwing.thumbnail(photo(1))));
    EXPECT_EQ(throwing.activeLoads(), 0);
}

TEST(ThumbnailMemoryCache, RealPhotosComeUprightAt256AndDecodeAgainAfterAReset)
{
    TempFolder folder;
    // Stored landscape, tagged to be shown turned 90° clockwise.
    const QUrl url = QUrl::fromLocalFile(makeJpeg(folder.filePath(QStringLiteral("a.jpg")),
                                                  {.size = QSize(1200, 800), .orientation = 6}));
    int decodes = 0;
    ThumbnailMemoryCache cache([&decodes](const QUrl &u, int size) {
        ++decodes;
        return loadThumbnailImage(u, size);
    });
    const auto image = awaitTask(cache.thumbnail(url));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(171, 256));
    // The red block of the stored top-left corner now sits top-right.
    const QRgb corner = image->pixel(image->width() - 5, 5);
    EXPECT_GT(qRed(corner), 180);
    EXPECT_LT(qGreen(corner), 80);

    awaitTask(cache.thumbnail(url));
    EXPECT_EQ(decodes, 1);
    cache.removeAll();
    awaitTask(cache.thumbnail(url));
    EXPECT_EQ(decodes, 2);
}
