#include "tidy_send/ConvertScreen.h"

#include "FakeSendServices.h"
#include "Gallery.h"
#include "support/SteppedTime.h"
#include "support/AsyncTest.h"
#include "support/TempFolder.h"

#include "services/ExportCoordinator.h"
#include "tidy_send/ProgressRing.h"

#include <memory>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace pomelark {
namespace {

MediaItem item(const QString &name, MediaItem::Kind kind)
{
    return {QUuid::createUuid(), QUrl::fromLocalFile(QStringLiteral("/card/DCIM/") + name), kind};
}

TEST(ConvertScreenPercentTest, CutsTowardZeroAndStaysWithinTheRange)
{
    EXPECT_EQ(ConvertScreen::percentOf(0), 0);
    EXPECT_EQ(ConvertScreen::percentOf(0.5), 50);
    EXPECT_EQ(ConvertScreen::percentOf(0.999), 99);
    EXPECT_EQ(ConvertScreen::percentOf(1.0), 100);
    // Counts whose fraction falls a hair short in binary still read as counted.
    EXPECT_EQ(ConvertScreen::percentOf(29.0 / 100.0), 29);
    EXPECT_EQ(ConvertScreen::percentOf(57.0 / 100.0), 57);
    EXPECT_EQ(ConvertScreen::percentOf(2.0 / 3.0), 66);
    EXPECT_EQ(ConvertScreen::percentOf(1.5), 100);
    EXPECT_EQ(ConvertScreen::percentOf(-0.2), 0);
    EXPECT_EQ(ConvertScreen::percentOf(std::nan("")), 0);
}

class ConvertScreenTest : public ::testing::Test {
protected:
    void SetUp() override { window.resize(800, 600); }

    test::SteppedTime time;
    test::TempFolder staging;
    test::StandInConverter converter;
    test::GatedPhotos photos;
    ExportCoordinator coordinator{converter, photos, staging.path()};
    QWidget window;
};

TEST_F(ConvertScreenTest, FollowsTheRunningSendItemByItem)
{
    auto *screen = new ConvertScreen({&coordinator, DateMode::keep}, &window, time.ticker);
    window.show();
    EXPECT_EQ(screen->geometry(), window.rect());
    EXPECT_EQ(screen->percentText(), QStringLiteral("0%"));
    EXPECT_EQ(screen->countText(), QStringLiteral("0 / 0 · making them iPhone-friendly"));
    EXPECT_EQ(screen->dateText(), QStringLiteral("Keep capture date"));

    const MediaItems items{item(QStringLiteral("A.JPG"), MediaItem::Kind::photo),
                           item(QStringLiteral("B.JPG"), MediaItem::Kind::photo),
                           item(QStringLiteral("C.MOV"), MediaItem::Kind::video)};
    bool finished = false;
    auto run = [&]() -> QCoro::Task<void> {
        co_await coordinator.exportItems(items, {}, {}, [] { return false; });
        finished = true;
    };
    QCoro::Task<void> send = run();

    ASSERT_TRUE(test::spinUntil([&] { return photos.gate.waiting == 1; }));
    EXPECT_EQ(screen->countText(), QStringLiteral("0 / 3 · making them iPhone-friendly"));
    EXPECT_EQ(screen->percentText(), QStringLiteral("0%"));

    photos.gate.open();
    ASSERT_TRUE(test::spinUntil([&] { return coordinator.doneItems() == 1 && photos.gate.waiting == 1; }));
    EXPECT_EQ(screen->countText(), QStringLiteral("1 / 3 · making them iPhone-friendly"));
    EXPECT_EQ(screen->percentText(), QStringLiteral("33%"));

    photos.gate.open();
    ASSERT_TRUE(test::spinUntil([&] { return coordinator.doneItems() == 2 && photos.gate.waiting == 1; }));
    EXPECT_EQ(screen->percentText(), QStringLiteral("66%"));
    time.step(300ms);
    EXPECT_TRUE(test::saveToGallery(window, QStringLiteral("convert")));

    photos.gate.open();
    test::awaitTask(std::move(send));
    EXPECT_TRUE(finished);
    EXPECT_EQ(screen->countText(), QStringLiteral("3 / 3 · making them iPhone-friendly"));
    EXPECT_EQ(screen->percentText(), QStringLiteral("100%"));
}

TEST_F(ConvertScreenTest, ShowsTheSendsDateChoiceAndOutlivesItsCoordinator)
{
    auto coordinatorOfItsOwn = std::make_unique<ExportCoordinator>(converter, photos, staging.path());
    ConvertScreen screen({coordinatorOfItsOwn.get(), DateMode::now}, nullptr, time.ticker);
    EXPECT_EQ(screen.dateText(), QStringLiteral("Use today's date"));
    coordinatorOfItsOwn.reset();
    screen.resize(400, 400);
    screen.show();
    EXPECT_FALSE(screen.grab().isNull());
    EXPECT_EQ(screen.percentText(), QStringLiteral("0%"));
}

TEST_F(ConvertScreenTest, ArcTurnsOnceEvery0Point9SecondsWhetherOrNotProgressMoves)
{
    auto *screen = new ConvertScreen({&coordinator, DateMode::keep}, &window, time.ticker);
    window.show();
    const ProgressRing *ring = screen->ring();
    time.step(16ms);
    const qreal start = ring->spin();
    // Degrees turned since `from`, within -180 … 180; frames come every 16 ms, so
    // the arc may lag the clock by up to 7 degrees.
    const auto turnedSince = [&](qreal from) {
        const qreal turned = std::fmod(ring->spin() - from + 360.0, 360.0);
        return turned > 180 ? turned - 360 : turned;
    };

    time.step(225ms);
    EXPECT_NEAR(turnedSince(start), 90, 7);
    time.step(225ms);
    EXPECT_NEAR(std::abs(turnedSince(start)), 180, 7);
    // A whole turn later it stands where it stood: constant speed, no reversing.
    for (int turn = 0; turn < 3; ++turn) {
        const qreal before = ring->spin();
        time.step(900ms);
        EXPECT_NEAR(turnedSince(before), 0, 7);
    }
    EXPECT_EQ(screen->percentText(), QStringLiteral("0%"));
}

} // namespace
} // namespace pomelark
