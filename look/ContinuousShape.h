#pragma once

#include <QPainterPath>
#include <QRectF>

namespace pomelark {

/// A rounded rectangle with continuous corners: each corner eases out of the
/// straight edge (its curvature starts near zero) instead of joining a circular
/// arc at a kink, and reaches about 1.5 radii along each edge. The radius shrinks
/// to fit a rectangle too small for it; an empty rectangle gives an empty path.
QPainterPath continuousRoundedRect(const QRectF &rect, qreal radius);

/// A capsule (fully rounded ends) filling `rect`.
QPainterPath capsule(const QRectF &rect);

} // namespace pomelark
