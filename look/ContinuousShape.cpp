#include "look/ContinuousShape.h"

#include <algorithm>

namespace pomelark {

namespace {

// Each corner is one cubic from a point `extent` along one edge to the same
// distance along the other, with both control points close to the corner. With
// these factors the curve's midpoint sits where a circular arc of the radius
// would, and its curvature at the edges is about a tenth of the arc's.
constexpr qreal extentFactor = 1.528;
constexpr qreal controlFactor = 0.272;

} // namespace

QPainterPath continuousRoundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    if (rect.isEmpty())
        return path;
    const qreal maxExtent = std::min(rect.width(), rect.height()) / 2.0;
    const qreal extent = std::min(radius * extentFactor, maxExtent);
    if (extent <= 0) {
        path.addRect(rect);
        return path;
    }
    const qreal control = extent * (controlFactor / extentFactor);
    const qreal l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();

    path.moveTo(l + extent, t);
    path.lineTo(r - extent, t);
    path.cubicTo(r - control, t, r, t + control, r, t + extent);
    path.lineTo(r, b - extent);
    path.cubicTo(r, b - control, r - control, b, r - extent, b);
    path.lineTo(l + extent, b);
    path.cubicTo(l + control, b, l, b - control, l, b - extent);
    path.lineTo(l, t + extent);
    path.cubicTo(l, t + control, l + control, t, l + extent, t);
    path.closeSubpath();
    return path;
}

QPainterPath capsule(const QRectF &rect)
{
    QPainterPath path;
    if (rect.isEmpty())
        return path;
    const qreal radius = std::min(rect.width(), rect.height()) / 2.0;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

} // namespace pomelark
