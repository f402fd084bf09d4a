#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <functional>
#include <optional>

namespace pomelark {

/// Turns a grid of coloured cells into one image, the way pixel art is drawn
/// here: rasterised once per (picture, cell size, device pixel ratio) and then
/// composited under whatever transform and opacity the caller sets.
///
/// Cell edges are rounded to whole device pixels from their exact positions, so
/// neighbouring cells meet without a seam and without overlap at any fractional
/// cell size; a cell may come out one device pixel wider than its neighbour.
class PixelRaster {
public:
    using ColorAt = std::function<std::optional<QColor>(int column, int row)>;

    /// An image of `columns` × `rows` cells of `cellSize` logical pixels each, at
    /// `ratio` device pixels per logical pixel (the image carries that ratio).
    /// Transparent where `colorAt` gives nothing. A null image when the grid or
    /// the cell size is empty.
    static QImage render(int columns, int rows, qreal cellSize, qreal ratio, const ColorAt &colorAt);

    /// Like `render`, but made only the first time for a given `identity` (which
    /// must name the picture's content exactly), cell size and ratio. The cache
    /// is bounded; main thread only.
    static QImage cached(const QString &identity, int columns, int rows, qreal cellSize, qreal ratio,
                         const ColorAt &colorAt);

    /// How many images were made by `cached` so far (tests).
    static int renderedCount();
    static void clearCache();
};

} // namespace pomelark
