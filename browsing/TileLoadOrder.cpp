#include "browsing/TileLoadOrder.h"

#include <algorithm>

namespace pomelark {

QList<int> TileLoadOrder::indices(const GridLayout &layout, qreal top, qreal bottom, Scroll scroll, int rowsAhead)
{
    const GridLayout::Range shown = layout.indicesIn(top, bottom);
    if (shown.first >= shown.end)
        return {};
    const int columns = layout.columns();
    const int firstRow = shown.first / columns;
    const int lastRow = (shown.end - 1) / columns;
    QList<int> shownRows;
    for (int row = firstRow; row <= lastRow; ++row)
        shownRows.append(row);
    if (scroll.towardsEnd)
        std::reverse(shownRows.begin(), shownRows.end());
    QList<int> aheadRows;
    for (int ahead = 1; ahead <= rowsAhead; ++ahead) {
        const int row = scroll.towardsEnd ? lastRow + ahead : firstRow - ahead;
        if (row >= 0 && row < layout.rows())
            aheadRows.append(row);
    }
    const QList<int> rows = scroll.moving ? aheadRows + shownRows : shownRows + aheadRows;
    QList<int> order;
    for (const int row : rows)
        for (int index = row * columns; index < std::min((row + 1) * columns, layout.count()); ++index)
            order.append(index);
    return order;
}

} // namespace pomelark
