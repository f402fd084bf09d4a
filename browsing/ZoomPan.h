#pragma once

#include <QPointF>
#include <QSizeF>

namespace pomelark {

/// The zoom and pan of one picture shown in a panel, without any display.
///
/// A committed zoom lies in 1…8 and a committed pan never moves the picture so far
/// that it stops covering the panel: each axis stays within ± panel × (zoom − 1) / 2.
/// A pinch or drag in progress is kept apart from the committed values and only
/// joins them when it ends; what is displayed is always clamped again, so a value
/// outside the current limits never shows.
class ZoomPan {
public:
    static constexpr double minZoom = 1.0;
    static constexpr double maxZoom = 8.0;

    double zoom() const { return m_zoom; }
    double gestureZoom() const { return m_gestureZoom; }
    QPointF pan() const { return m_pan; }
    QPointF panInFlight() const { return m_panInFlight; }
    QSizeF panelSize() const { return m_panelSize; }

    /// The size of the panel the picture fills; the pan limits follow it.
    void setPanelSize(QSizeF size) { m_panelSize = size; }

    /// The zoom displayed: committed zoom times the pinch in progress, within 1…8.
    double effectiveZoom() const;
    /// `offset` pulled within the limits that apply at `zoom`.
    QPointF clampedPan(QPointF offset, double zoom) const;
    /// The offset displayed: committed pan plus the drag in progress, clamped at
    /// the displayed zoom.
    QPointF effectivePan() const;

    /// A pinch in progress with the magnification `m` since it began.
    void setGestureZoom(double m) { m_gestureZoom = m; }
    /// Ends a pinch whose final magnification is `m`: the zoom takes it (within
    /// 1…8) and the pan is pulled inside the new limits, or recentred at 1×.
    void commitZoom(double m);

    /// A drag in progress with the translation `t` since it began.
    void setPanInFlight(QPointF t) { m_panInFlight = t; }
    /// Ends a drag whose final translation is `t`.
    void commitPan(QPointF t);

    /// Moves the committed pan by a scroll of `delta` when zoomed in. Returns
    /// whether the scroll was taken; at 1× it is not, so it can scroll something else.
    bool scrollBy(QPointF delta);

    /// Back to 1×, centred, with no gesture in progress (a new picture).
    void reset();

private:
    double m_zoom = 1.0;
    double m_gestureZoom = 1.0;
    QPointF m_pan;
    QPointF m_panInFlight;
    QSizeF m_panelSize;
};

} // namespace pomelark
