#include "browsing/GridLayout.h"

#include <gtest/gtest.h>

namespace pomelark {
namespace {

TEST(GridLayoutTest, ColumnsAreAsManyAsFitAndShareTheSpareWidth)
{
    // 48 px of padding; each further column needs 128.
    EXPECT_EQ(GridLayout(48 + 120, 10).columns(), 1);
    EXPECT_EQ(GridLayout(48 + 247, 10).columns(), 1);
    EXPECT_EQ(GridLayout(48 + 248, 10).columns(), 2);
    EXPECT_EQ(GridLayout(800, 10).columns(), 5); // (752 + 8) / 128 = 5.9
    // Too narrow for even one column: still one, never zero.
    EXPECT_EQ(GridLayout(10, 3).columns(), 1);
    EXPECT_EQ(GridLayout(10, 3).rows(), 3);

    // Two columns in 300 px: cells of 146, each tile centred in its cell.
    const GridLayout two(348, 3);
    EXPECT_EQ(two.tileFrame(0), QRectF(13, 0, 120, 120));
    EXPECT_EQ(two.tileFrame(1), QRectF(154 + 13, 0, 120, 120));
    EXPECT_EQ(two.tileFrame(2), QRectF(13, 128, 120, 120));
    EXPECT_TRUE(two.tileFrame(3).isEmpty());
    EXPECT_TRUE(two.tileFrame(-1).isEmpty());
}

TEST(GridLayoutTest, ShortGridsStillFillTheViewport)
{
    EXPECT_EQ(GridLayout(800, 0).documentHeight(600), 600);
    EXPECT_EQ(GridLayout(800, 0).rows(), 0);
    // 3 rows: 3 × 120 + 2 × 8 + 32 padding.
    const GridLayout tall(800, 11);
    EXPECT_EQ(tall.gridHeight(), 376);
    EXPECT_EQ(tall.documentHeight(200), 408);
}

TEST(GridLayoutTest, PointsFindTheirTileButNotTheGaps)
{
    const GridLayout layout(348, 3);
    EXPECT_EQ(layout.indexAt({13, 0}), 0);
    EXPECT_EQ(layout.indexAt({13 + 119.5, 119.5}), 0);
    EXPECT_EQ(layout.indexAt({13 + 120, 10}), std::nullopt);  // right edge is outside
    EXPECT_EQ(layout.indexAt({5, 10}), std::nullopt);         // margin of the cell
    EXPECT_EQ(layout.indexAt({20, 124}), std::nullopt);       // row gap
    EXPECT_EQ(layout.indexAt({170, 130}), std::nullopt);      // no fourth tile
    EXPECT_EQ(layout.indexAt({20, 130}), 2);
    EXPECT_EQ(layout.indexAt({20, -1}), std::nullopt);
}

TEST(GridLayoutTest, VisibleRangeCoversWholeRowsWithExtraRowsClamped)
{
    const GridLayout layout(48 + 5 * 128 - 8, 10'000); // 5 columns
    ASSERT_EQ(layout.columns(), 5);
    const auto top = layout.indicesIn(0, 300);
    EXPECT_EQ(top.first, 0);
    EXPECT_EQ(top.end, 15); // rows 0 … 2
    const auto middle = layout.indicesIn(128 * 100 + 5, 128 * 100 + 200, 1);
    EXPECT_EQ(middle.first, 99 * 5);
    EXPECT_EQ(middle.end, 103 * 5);
    const auto end = layout.indicesIn(layout.gridHeight() - 10, layout.gridHeight() + 500, 2);
    EXPECT_EQ(end.end, 10'000);
    EXPECT_EQ(GridLayout(800, 0).indicesIn(0, 500).end, 0);
}

} // namespace
} // namespace pomelark
