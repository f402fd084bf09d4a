#pragma once

#include <QRectF>
#include <QString>

class QPainter;

namespace pomelark {

/// The round selection check: a lavender disc with a white tick when selected,
/// an empty ringed disc when not. Tiles paint it 22 px on a light ground (white
/// disc, warm-grey ring); the viewer paints it 30 px over the photo (dark disc,
/// white ring). Painted rather than a widget per tile; the viewer's own button
/// draws through `paint` too.
class SelCheck {
public:
    static constexpr qreal side = 22;

    /// What the unselected check sits on, which sets its disc and ring.
    enum class Ground { light, dark };

    /// The help text for a check in this state: "Deselect" or "Select".
    static QString helpText(bool isSelected);
    /// Paints the check, its small shadow included, filling `frame`; the tick
    /// is half the frame's width.
    static void paint(QPainter &painter, const QRectF &frame, bool isSelected, Ground ground = Ground::light);
};

} // namespace pomelark
