#include "browsing/GridLayout.h"

#include <algorithm>
#include <cmath>

namespace pomelark {

GridLayout::GridLayout(qreal viewportWidth, int count)
    : m_count(std::max(count, 0)), m_gridWidth(std::max<qreal>(viewportWidth - 2 * horizontalPadding, 0))
{
    // As many columns of the minimum width as fit with their spacing; the
    // columns then share the spare width.
    m_columns = std::max(1, int(std::floor((m_gridWidth + spacing) / (tileSide + spacing))));
}

int GridLayout::rows() const
{
    return (m_count + m_columns - 1) / m_columns;
}

qreal GridLayout::gridHeight() const
{
    const int rowCount = rows();
    return rowCount == 0 ? 0 : rowCount * tileSide + (rowCount - 1) * spacing;
}

qreal GridLayout::documentHeight(qreal viewportHeight) const
{
    return std::max(viewportHeight, gridHeight() + 2 * verticalPadding);
}

qreal GridLayout::columnWidth() const
{
    return std::max<qreal>((m_gridWidth - spacing * (m_columns - 1)) / m_columns, 0);
}

QRectF GridLayout::tileFrame(int index) const
{
    if (index < 0 || index >= m_count)
        return {};
    const int row = index / m_columns;
    const int column = index % m_columns;
    const qreal cell = columnWidth();
    const qreal x = column * (cell + spacing) + (cell - tileSide) / 2;
    return {x, row * (tileSide + spacing), tileSide, tileSide};
}

std::optional<int> GridLayout::indexAt(QPointF point) const
{
    if (m_count == 0 || point.y() < 0)
        return std::nullopt;
    const int row = int(point.y() / (tileSide + spacing));
    const qreal cell = columnWidth();
    const int column = cell + spacing > 0 ? int(std::floor(point.x() / (cell + spacing))) : 0;
    for (const int candidate : {column - 1, column, column + 1}) {
        if (candidate < 0 || candidate >= m_columns)
            continue;
        const int index = row * m_columns + candidate;
        const QRectF frame = tileFrame(index);
        if (!frame.isEmpty() && point.x() >= frame.left() && point.x() < frame.right() && point.y() >= frame.top()
            && point.y() < frame.bottom())
            return index;
    }
    return std::nullopt;
}

GridLayout::Range GridLayout::indicesIn(qreal top, qreal bottom, int extraRows) const
{
    const int rowCount = rows();
    if (rowCount == 0 || bottom < top)
        return {};
    const qreal pitch = tileSide + spacing;
    const int firstRow = std::max(0, int(std::floor(top / pitch)) - extraRows);
    const int lastRow = std::min(rowCount - 1, int(std::floor(bottom / pitch)) + extraRows);
    if (lastRow < firstRow)
        return {};
    return {firstRow * m_columns, std::min(m_count, (lastRow + 1) * m_columns)};
}

QPointF GridLayout::toGrid(QPointF viewportPoint, qreal scrollY)
{
    return {viewportPoint.x() - horizontalPadding, viewportPoint.y() + scrollY - verticalPadding};
}

QPointF GridLayout::toViewport(QPointF gridPoint, qreal scrollY)
{
    return {gridPoint.x() + horizontalPadding, gridPoint.y() - scrollY + verticalPadding};
}

} // namespace pomelark
