#include "tidy_send/KeepCheck.h"

#include "look/Color.h"
#include "look/Palette.h"
#include "support/SteppedTime.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace pomelark {
namespace {

TEST(KeepCheckTest, TickGrowsOnlyAboveTwentyFour)
{
    test::SteppedTime time;
    EXPECT_EQ(KeepCheck(true, {}, 22, nullptr, time.ticker).tickSize(), 11);
    EXPECT_EQ(KeepCheck(true, {}, 24, nullptr, time.ticker).tickSize(), 11);
    EXPECT_EQ(KeepCheck(true, {}, 30, nullptr, time.ticker).tickSize(), 14);
}

TEST(KeepCheckTest, LookAndTipFollowTheFlagTheOwnerHandsBack)
{
    test::SteppedTime time;
    QWidget window;
    int clicks = 0;
    auto *check = new KeepCheck(true, [&] { ++clicks; }, 22, &window, time.ticker);
    window.show();
    EXPECT_EQ(check->helpText(), QStringLiteral("Exclude"));
    EXPECT_EQ(check->toolTip(), QStringLiteral("Exclude"));
    EXPECT_EQ(check->fillColor(), Palette::accent());
    EXPECT_EQ(check->ringColor().alpha(), 0);

    // A click only reports; the check waits for its owner.
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(check->isKept());

    check->setKept(false);
    EXPECT_EQ(check->toolTip(), QStringLiteral("Keep"));
    time.step(60ms);
    EXPECT_GT(check->keptProgress(), 0.0);
    EXPECT_LT(check->keptProgress(), 1.0);
    time.step(150ms);
    EXPECT_EQ(check->fillColor(), withOpacity(Qt::white, 0.92));
    EXPECT_EQ(check->ringColor(), Palette::inkTertiary());
}

TEST(KeepCheckTest, ExcludedDiscIsAlmostWhiteWithARingAndNoTick)
{
    test::SteppedTime time;
    QWidget window;
    window.resize(60, 60);
    auto *kept = new KeepCheck(true, {}, 30, &window, time.ticker);
    auto *excluded = new KeepCheck(false, {}, 30, &window, time.ticker);
    kept->move(0, 0);
    excluded->move(30, 30);
    window.show();
    const QImage keptImage = kept->grab().toImage();
    const QImage excludedImage = excluded->grab().toImage();
    const QPoint centre(keptImage.width() / 2, keptImage.height() / 2);
    // The tick crosses the middle of a kept disc; an excluded one is plain there.
    bool keptHasWhite = false;
    for (int dx = -4; dx <= 4; ++dx)
        keptHasWhite |= qGreen(keptImage.pixel(centre + QPoint(dx, 0))) > 240
                        && qRed(keptImage.pixel(centre + QPoint(dx, 0))) > 240;
    EXPECT_TRUE(keptHasWhite);
    for (int dx = -4; dx <= 4; ++dx)
        EXPECT_GT(qRed(excludedImage.pixel(centre + QPoint(dx, 0))), 200);
    // The ring darkens the excluded disc's edge.
    const QRgb edge = excludedImage.pixel(KeepCheck::bleed, centre.y());
    EXPECT_LT(qRed(edge), 235);
}

} // namespace
} // namespace pomelark
