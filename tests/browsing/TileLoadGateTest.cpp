#include "browsing/TileLoadGate.h"

#include "GridFixtures.h"
#include "support/AsyncTest.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pomelark {
namespace {

using test::FakeTileSources;
using test::spinUntil;

struct GateHarness {
    FakeTileSources fakes;
    int rooms = 0;
    TileLoadGate gate{[this] { ++rooms; }};
    QList<QUuid> ids;
    QList<QUrl> urls;
    QList<std::optional<std::optional<QImage>>> results;

    explicit GateHarness(int count)
    {
        results.resize(count);
        for (int n = 0; n < count; ++n) {
            ids.append(QUuid::createUuid());
            urls.append(QUrl::fromLocalFile(QStringLiteral("/card/IMG_%1.JPG").arg(n)));
            fakes.hold(urls[n]);
            auto load = gate.sourcesFor(fakes.sources(), ids[n]).thumbnail;
            [](GateHarness *self, int n, auto load) -> QCoro::Task<void> {
                self->results[n] = co_await load(self->urls[n]);
            }(this, n, load);
        }
    }
    ~GateHarness()
    {
        // Every load ends before the results it writes to go away.
        for (const QUrl &url : std::as_const(urls))
            fakes.release(url);
        spinUntil([this] {
            gate.admit(ids);
            return std::all_of(results.cbegin(), results.cend(), [](const auto &result) { return result.has_value(); });
        });
    }
};

TEST(TileLoadGateTest, LoadsReachTheServicesOnlyWhenLetInAndAFewAtATime)
{
    GateHarness h(8);
    QCoreApplication::processEvents();
    EXPECT_TRUE(h.fakes.thumbnailRequests.isEmpty()) << "nothing loads before it is let in";

    // Let in in the order given, up to the limit; the rest keep waiting.
    h.gate.admit({h.ids[5], h.ids[4], h.ids[3], h.ids[2], h.ids[1], h.ids[0]});
    ASSERT_TRUE(spinUntil([&] { return h.fakes.thumbnailRequests.size() == TileLoadGate::maxLoading; }));
    EXPECT_EQ(h.fakes.thumbnailRequests, (QList<QUrl>{h.urls[5], h.urls[4], h.urls[3], h.urls[2]}));
    EXPECT_TRUE(h.gate.isWaiting(h.ids[1]));
    EXPECT_FALSE(h.gate.isWaiting(h.ids[5]));

    // A tile that left before its turn ends with nothing and never asks the services.
    h.gate.drop(h.ids[1]);
    ASSERT_TRUE(spinUntil([&] { return h.results[1].has_value(); }));
    EXPECT_FALSE(h.results[1]->has_value());

    // A finished load makes room; the grid then lets the next one in.
    h.fakes.release(h.urls[5]);
    ASSERT_TRUE(spinUntil([&] { return h.rooms > 0; }));
    ASSERT_TRUE(h.results[5].has_value() && h.results[5]->has_value());
    EXPECT_EQ(h.gate.loading(), TileLoadGate::maxLoading - 1);
    h.gate.admit({h.ids[4], h.ids[3], h.ids[2], h.ids[1], h.ids[7]});
    ASSERT_TRUE(spinUntil([&] { return h.fakes.thumbnailRequests.size() == TileLoadGate::maxLoading + 1; }));
    EXPECT_EQ(h.fakes.thumbnailRequests.last(), h.urls[7]);
    EXPECT_FALSE(h.fakes.thumbnailRequests.contains(h.urls[1]));

    // Let in, then gone before its load began: it still never asks, and frees its place.
    h.fakes.release(h.urls[4]);
    ASSERT_TRUE(spinUntil([&] { return h.results[4].has_value(); }));
    h.gate.admit({h.ids[3], h.ids[2], h.ids[7], h.ids[6]});
    h.gate.drop(h.ids[6]);
    ASSERT_TRUE(spinUntil([&] { return h.results[6].has_value(); }));
    EXPECT_FALSE(h.results[6]->has_value());
    EXPECT_FALSE(h.fakes.thumbnailRequests.contains(h.urls[6]));
    EXPECT_EQ(h.gate.loading(), TileLoadGate::maxLoading - 1);
}

TEST(TileLoadGateTest, APhotoLoadWhoseTileLeftGivesItsTurnUpAndLoadsAgainWhenWanted)
{
    GateHarness h(4);
    h.gate.admit({h.ids[0], h.ids[1]});
    ASSERT_TRUE(spinUntil([&] { return h.fakes.thumbnailRequests.size() == 2; }));

    // The grid scrolled on: the two queued loads are no longer wanted.
    h.gate.admit({h.ids[2]});
    ASSERT_TRUE(spinUntil([&] { return h.fakes.thumbnailRequests.contains(h.urls[2]); }));
    h.fakes.release(h.urls[0]);
    ASSERT_TRUE(spinUntil([&] { return h.gate.isWaiting(h.ids[0]); }));
    EXPECT_EQ(h.fakes.withdrawn(), QList<QUrl>{h.urls[0]});
    EXPECT_FALSE(h.fakes.decoded().contains(h.urls[0])) << "nobody would have seen the picture";
    EXPECT_FALSE(h.results[0].has_value()) << "the tile keeps waiting for its picture";

    // Gone for good: the load ends with nothing, without a decode.
    h.gate.drop(h.ids[1]);
    h.fakes.release(h.urls[1]);
    ASSERT_TRUE(spinUntil([&] { return h.results[1].has_value(); }));
    EXPECT_FALSE(h.results[1]->has_value());
    EXPECT_FALSE(h.fakes.decoded().contains(h.urls[1]));

    // Back on screen: let in again, it loads.
    h.gate.admit({h.ids[2], h.ids[0]});
    ASSERT_TRUE(spinUntil([&] { return h.results[0].has_value(); }));
    EXPECT_TRUE(h.results[0]->has_value());
    EXPECT_EQ(h.fakes.decoded().count(h.urls[0]), 1);
}

TEST(TileLoadGateTest, AFailedLoadStillMakesRoomAndAGoneGateEndsWhatWaits)
{
    FakeTileSources fakes;
    const QUrl broken = QUrl::fromLocalFile(QStringLiteral("/card/broken.MOV"));
    const QUrl held = QUrl::fromLocalFile(QStringLiteral("/card/held.MOV"));
    fakes.brokenVideos.insert(broken);
    fakes.hold(held);
    int rooms = 0;
    std::optional<bool> threw;
    std::optional<bool> heldDone;
    std::optional<bool> waitingDone;
    const auto run = [](auto load, QUrl url, std::optional<bool> &done) -> QCoro::Task<void> {
        try {
            const VideoInfo info = co_await load(url);
            done = info.thumbnail.isNull(); // true: ended without a poster
        } catch (const std::exception &) {
            done = false;
        }
    };
    {
        TileLoadGate gate([&] { ++rooms; });
        const QUuid brokenID = QUuid::createUuid();
        const QUuid heldID = QUuid::createUuid();
        auto brokenLoad = gate.sourcesFor(fakes.sources(), brokenID).videoInfo;
        auto heldLoad = gate.sourcesFor(fakes.sources(), heldID).videoInfo;
        auto waitingLoad = gate.sourcesFor(fakes.sources(), QUuid::createUuid()).videoInfo;
        gate.admit({brokenID, heldID});
        run(brokenLoad, broken, threw);
        run(heldLoad, held, heldDone);
        run(waitingLoad, QUrl::fromLocalFile(QStringLiteral("/card/other.MOV")), waitingDone);
        ASSERT_TRUE(spinUntil([&] { return threw.has_value() && rooms == 1; }));
        EXPECT_FALSE(*threw) << "the service's failure reaches the tile";
        EXPECT_EQ(gate.loading(), 1);
    }
    // The waiting load ends with nothing; the running one ends as the service says.
    ASSERT_TRUE(spinUntil([&] { return waitingDone.has_value(); }));
    EXPECT_TRUE(*waitingDone);
    fakes.release(held);
    ASSERT_TRUE(spinUntil([&] { return heldDone.has_value(); }));
    EXPECT_FALSE(*heldDone) << "a poster came";
    QCoreApplication::processEvents();
    EXPECT_EQ(rooms, 1) << "the grid of a gone gate is not called";
}

} // namespace
} // namespace pomelark
