#include "browsing/TileLoadOrder.h"

#include <algorithm>

namespace pomelark {

QList<int> TileLoadOrder::indices(const GridLayout &layout, qreal top, qreal bottom, bool towardsEnd, int rowsAhead)
{
    const GridLayout::Range shown = layout.indicesIn(top, bottom);
    if (shown.first >= shown.end)
        return {};
    const int columns = layout.columns();
    const int firstRow = shown.first / columns;
    const int lastRow = (shown.end - 1) / columns;
    QList<int> rows;
    for (int row = firstRow; row <= lastRow; ++row)
        rows.append(row);
    if (towardsEnd)
        std::reverse(rows.begin(), rows.end());
    for (int ahead = 1; ahead <= rowsAhead; ++ahead) {
        const int row = towardsEnd ? lastRow + ahead : firstRow - ahead;
        if (row >= 0 && row < layout.rows())
            rows.append(row);
    }
    QList<int> order;
    for (const int row : std::as_const(rows))
        for (int index = row * columns; index < std::min((row + 1) * columns, layout.count()); ++index)
            order.append(index);
    return order;
}

} // namespace pomelark
