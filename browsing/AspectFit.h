#pragma once

#include <QRectF>

namespace pomelark {

/// The largest rectangle of width ÷ height `aspect` that fits `room`, centred in
/// it; an empty rectangle at the centre when there is no room or no valid aspect.
inline QRectF aspectFitted(const QRectF &room, qreal aspect)
{
    if (room.isEmpty() || !(aspect > 0))
        return QRectF(room.center(), QSizeF(0, 0));
    QSizeF size(room.width(), room.width() / aspect);
    if (size.height() > room.height())
        size = QSizeF(room.height() * aspect, room.height());
    QRectF fitted(QPointF(), size);
    fitted.moveCenter(room.center());
    return fitted;
}

} // namespace pomelark
