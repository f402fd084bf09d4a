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

TEST(TileLoadOrderTest, RowsOnScreenFromTheEdgeScrolledTowardsThenTheRowBeyondIt)
{
    // 5 columns of 128 px rows; 23 tiles, the last row holds three.
    const GridLayout layout(800, 23);
    ASSERT_EQ(layout.columns(), 5);
    // Rows 1 and 2 reach into the band.
    EXPECT_EQ(TileLoadOrder::indices(layout, 130, 380, true, 1), run(10, 15) + run(5, 10) + run(15, 20));
    EXPECT_EQ(TileLoadOrder::indices(layout, 130, 380, false, 1), run(5, 10) + run(10, 15) + run(0, 5));
    EXPECT_EQ(TileLoadOrder::indices(layout, 130, 380, true, 0), run(10, 15) + run(5, 10));
    // Nothing lies beyond the first and last rows; a short last row is whole.
    EXPECT_EQ(TileLoadOrder::indices(layout, 400, 700, true, 1), run(20, 23) + run(15, 20));
    EXPECT_EQ(TileLoadOrder::indices(layout, -16, 200, false, 1), run(0, 5) + run(5, 10));
    EXPECT_TRUE(TileLoadOrder::indices(GridLayout(800, 0), 0, 600, true, 1).isEmpty());
}

} // namespace
} // namespace pomelark
