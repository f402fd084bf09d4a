#pragma once

#include "browsing/GridLayout.h"

#include <QList>

namespace pomelark {

/// The order in which the grid's tiles load their pictures. Decodes are few
/// (two at a time) and a scroll can bring tiles faster than they decode, so
/// the rows go from the edge the grid scrolls towards: the tiles that just
/// came stay longest, those at the other edge are about to leave. While the
/// grid moves, the rows just beyond that edge go first of all, so their
/// pictures are there as they come in; at rest what shows goes first and the
/// rows beyond it follow. Pure arithmetic.
class TileLoadOrder {
public:
    struct Scroll {
        bool towardsEnd = false; ///< down, or last went down
        bool moving = false;
    };

    /// Indices of the tiles in rows reaching into the band from `top` to
    /// `bottom` (grid coordinates) and in `rowsAhead` rows beyond the edge
    /// scrolled towards (those nearest first), each row from its first column.
    static QList<int> indices(const GridLayout &layout, qreal top, qreal bottom, Scroll scroll, int rowsAhead);
};

} // namespace pomelark
