#pragma once

#include <QRectF>
#include <QSizeF>

namespace pomelark {

/// Where a tip bubble of `bubble` size goes for a control at `control`, both in
/// the coordinates of `window`: its bottom-trailing corner `offsetBelow` under
/// the control's bottom-trailing corner. A bubble that would leave the window
/// there goes as far above the control instead; where neither fits, or the
/// bubble sticks out sideways, it is moved back inside the window. A bubble
/// larger than the window keeps its top-leading corner inside.
QRectF tooltipPlacement(const QRectF &control, const QSizeF &bubble, const QRectF &window, bool rightToLeft,
                        qreal offsetBelow);

} // namespace pomelark
