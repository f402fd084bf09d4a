#pragma once

#include "browsing/GridLayout.h"

#include <QList>

namespace pomelark {

/// The order in which the grid's tiles load their pictures. Decodes are few
/// (two at a time) and a scroll can bring tiles faster than they decode, so
/// the rows on screen go first from the edge the grid scrolls towards: the
/// tiles that just came will stay longest, while those at the other edge are
/// about to leave. The rows just beyond that edge follow, so that pictures are
/// ready as their tiles come. Pure arithmetic.
class TileLoadOrder {
public:
    /// Indices of the tiles in rows reaching into the band from `top` to
    /// `bottom` (grid coordinates), row by row from the bottom one when
    /// `towardsEnd` (scrolling down) or from the top one, each row from its
    /// first column; then `rowsAhead` more rows beyond that edge, nearest first.
    static QList<int> indices(const GridLayout &layout, qreal top, qreal bottom, bool towardsEnd, int rowsAhead);
};

} // namespace pomelark
