#include "browsing/TileLoadOrder.h"

#include <gtest/gtest.h>

#include <numeric>

namespace pomelark {
namespace {

QList<int> run(int first, int end)
{
    QList<int> indices(end - first);
    std::iota(indices.begin(), indices.end(), first);
    return indices;
}

TEST(TileLoadOrderTest, RowsFromTheEdgeScrolledTowardsWithTheRowBeyondFirstOnlyWhileMoving)
{
    // 5 columns of 128 px rows; 23 tiles, the last row holds three.
    const GridLayout layout(800, 23);
    ASSERT_EQ(layout.columns(), 5);
    const TileLoadOrder::Scroll downAtRest{true, false}, downMoving{true, true};
    const TileLoadOrder::Scroll upAtRest{false, false}, upMoving{false, true};
    // Rows 1 and 2 reach into the band.
    EXPECT_EQ(TileLoadOrder::indices(layout, 130, 380, downAtRest, 1), run(10, 15) + run(5, 10) + run(15, 20));
    EXPECT_EQ(TileLoadOrder::indices(layout, 130, 380, downMoving, 1), run(15, 20) + run(10, 15) + run(5, 10));
    EXPECT_EQ(TileLoadOrder::indices(layout, 130, 380, upAtRest, 1), run(5, 10) + run(10, 15) + run(0, 5));
    EXPECT_EQ(TileLoadOrder::indices(layout, 130, 380, upMoving, 1), run(0, 5) + run(5, 10) + run(10, 15));
    EXPECT_EQ(TileLoadOrder::indices(layout, 130, 380, downMoving, 0), run(10, 15) + run(5, 10));
    // Nothing lies beyond the first and last rows; a short last row is whole.
    EXPECT_EQ(TileLoadOrder::indices(layout, 400, 700, downMoving, 1), run(20, 23) + run(15, 20));
    EXPECT_EQ(TileLoadOrder::indices(layout, -16, 200, upMoving, 1), run(0, 5) + run(5, 10));
    EXPECT_TRUE(TileLoadOrder::indices(GridLayout(800, 0), 0, 600, downMoving, 1).isEmpty());
}

} // namespace
} // namespace pomelark
