#pragma once

#include "look/Shadows.h"

#include <QImage>
#include <QPainterPath>

class QPainter;

namespace pomelark {

/// Draws drop shadows of shapes with a painter. The blurred image of each
/// (shape, shadow, pixel ratio) is made once and kept in a small cache, so
/// repainting an animated control costs one image draw per frame.
class ShadowPainter {
public:
    /// Draws the shadow of `shape` (in the painter's coordinates) under whatever is
    /// painted next; the shape itself is not filled. An invisible shadow or an
    /// empty shape draws nothing.
    static void draw(QPainter &painter, const QPainterPath &shape, const Shadow &shadow);

    /// The shadow of `shape` as an image whose top-left lies at `shape`'s bounding
    /// rectangle's top-left plus the returned offset (logical pixels). A null image
    /// for an invisible shadow or an empty shape.
    struct Rendered {
        QImage image;
        QPointF offset;
    };
    static Rendered render(const QPainterPath &shape, const Shadow &shadow, qreal devicePixelRatio);

    /// How far a shadow reaches beyond its shape on each side, offset included.
    static qreal reach(const Shadow &shadow);

    /// Empties the cache (tests, or after a screen change of pixel ratio).
    static void clearCache();
    static int cachedCount();
};

} // namespace pomelark
