#include "browsing/ZoomPan.h"

#include <algorithm>

namespace pomelark {

namespace {

double clampZoom(double zoom)
{
    // Written as two steps so that NaN (a broken gesture) ends at 1×, not NaN.
    if (!(zoom > ZoomPan::minZoom))
        return ZoomPan::minZoom;
    return std::min(zoom, ZoomPan::maxZoom);
}

double clampAxis(double value, double limit)
{
    if (!(value > -limit))
        return -limit;
    return std::min(value, limit);
}

} // namespace

double ZoomPan::effectiveZoom() const
{
    return clampZoom(m_zoom * m_gestureZoom);
}

QPointF ZoomPan::clampedPan(QPointF offset, double zoom) const
{
    const double limitX = std::max(0.0, m_panelSize.width() * (zoom - 1) * 0.5);
    const double limitY = std::max(0.0, m_panelSize.height() * (zoom - 1) * 0.5);
    return {clampAxis(offset.x(), limitX), clampAxis(offset.y(), limitY)};
}

QPointF ZoomPan::effectivePan() const
{
    return clampedPan(m_pan + m_panInFlight, effectiveZoom());
}

void ZoomPan::commitZoom(double m)
{
    m_zoom = clampZoom(m_zoom * m);
    m_gestureZoom = 1.0;
    m_pan = m_zoom > minZoom ? clampedPan(m_pan, m_zoom) : QPointF();
}

void ZoomPan::commitPan(QPointF t)
{
    m_pan = clampedPan(m_pan + t, effectiveZoom());
    m_panInFlight = QPointF();
}

bool ZoomPan::scrollBy(QPointF delta)
{
    if (effectiveZoom() <= minZoom)
        return false;
    m_pan = clampedPan(m_pan + delta, effectiveZoom());
    return true;
}

void ZoomPan::reset()
{
    m_zoom = 1.0;
    m_gestureZoom = 1.0;
    m_pan = QPointF();
    m_panInFlight = QPointF();
}

} // namespace pomelark
