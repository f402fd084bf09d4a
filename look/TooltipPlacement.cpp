#include "look/TooltipPlacement.h"

#include <algorithm>

namespace pomelark {

QRectF tooltipPlacement(const QRectF &control, const QSizeF &bubble, const QRectF &window, bool rightToLeft,
                        qreal offsetBelow)
{
    const qreal leading = rightToLeft ? control.left() : control.right() - bubble.width();
    const qreal below = control.bottom() + offsetBelow - bubble.height();
    const qreal above = control.top() - offsetBelow;
    qreal top = below;
    if (below + bubble.height() > window.bottom())
        top = above >= window.top() ? above : window.bottom() - bubble.height();
    // max last: a bubble larger than the window keeps its start (and its first words) in view.
    return {QPointF(std::max(std::min(leading, window.right() - bubble.width()), window.left()),
                    std::max(top, window.top())),
            bubble};
}

} // namespace pomelark
