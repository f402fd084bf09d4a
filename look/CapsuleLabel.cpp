#include "look/CapsuleLabel.h"

#include "look/ContinuousShape.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace pomelark {

QSizeF CapsuleLabel::size() const
{
    const QFontMetricsF metrics(font);
    return {metrics.horizontalAdvance(text) + 2 * paddingX, metrics.height() + 2 * paddingY};
}

QSize CapsuleLabel::widgetSize() const
{
    const QSizeF exact = size();
    return {int(std::ceil(exact.width())), int(std::ceil(exact.height()))};
}

void CapsuleLabel::paint(QPainter &painter, QPointF topLeft) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(topLeft, size());
    painter.fillPath(capsule(box), fill);
    painter.setFont(font);
    painter.setPen(textColor);
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter.restore();
}

} // namespace pomelark
