#pragma once

#include <QPointF>
#include <QRectF>

#include <optional>

namespace pomelark {

/// Where the media grid puts its tiles: adaptive columns of at least 120 px
/// with 8 px between columns and rows, each 120 px tile centred in its cell.
///
/// Grid coordinates start at the top-left of the tile area, inside the grid's
/// padding (24 px left and right, 16 px top and bottom), and do not move when
/// the grid scrolls. Pure arithmetic: nothing here fails; a width too small for
/// one column still gives one column.
class GridLayout {
public:
    static constexpr qreal tileSide = 120;
    static constexpr qreal spacing = 8;
    static constexpr qreal horizontalPadding = 24;
    static constexpr qreal verticalPadding = 16;

    /// A layout of `count` tiles in a viewport `viewportWidth` wide.
    GridLayout(qreal viewportWidth = 0, int count = 0);

    int count() const { return m_count; }
    int columns() const { return m_columns; }
    int rows() const;
    /// Width of the tile area (the viewport less the side padding; never negative).
    qreal gridWidth() const { return m_gridWidth; }
    /// Height of the tile area: the rows and the spacing between them.
    qreal gridHeight() const;
    /// Height of the scrolled document: at least the viewport's, so a short grid
    /// still fills it.
    qreal documentHeight(qreal viewportHeight) const;

    /// The tile's frame in grid coordinates; an empty rectangle for an index
    /// outside 0 … count − 1.
    QRectF tileFrame(int index) const;
    /// The tile whose frame holds `point` (left and top edges inclusive), if any.
    std::optional<int> indexAt(QPointF point) const;
    /// First and one-past-last index of the tiles in rows that reach into the
    /// band from `top` to `bottom` (grid coordinates), widened by `extraRows`
    /// rows on each side; an empty range when there are no such tiles.
    struct Range {
        int first = 0;
        int end = 0;
        bool contains(int index) const { return index >= first && index < end; }
    };
    Range indicesIn(qreal top, qreal bottom, int extraRows = 0) const;

    /// Converts between viewport coordinates (at scroll offset `scrollY`) and
    /// grid coordinates.
    static QPointF toGrid(QPointF viewportPoint, qreal scrollY);
    static QPointF toViewport(QPointF gridPoint, qreal scrollY);

private:
    qreal columnWidth() const;

    int m_count = 0;
    int m_columns = 1;
    qreal m_gridWidth = 0;
};

} // namespace pomelark
