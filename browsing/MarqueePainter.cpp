#include "browsing/MarqueePainter.h"

#include "look/Color.h"
#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/ShadowPainter.h"
#include "look/Shadows.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace pomelark {

namespace {
constexpr qreal countLabelRise = 24;
// Where the pill sits inside the marquee: clear of its outline and round corner.
constexpr qreal countLabelInset = 6;
} // namespace

QRectF MarqueePainter::countLabelRect(const QRectF &rect, const QSizeF &size, const QRectF &visible)
{
    QPointF topLeft(rect.left(), rect.top() - countLabelRise);
    if (topLeft.y() < visible.top()) {
        // Above would be under the grid's top edge, cut off.
        topLeft = QPointF(rect.left() + countLabelInset, std::max(rect.top(), visible.top()) + countLabelInset);
    }
    topLeft.setX(std::max(std::min(topLeft.x(), visible.right() - size.width()), visible.left()));
    topLeft.setY(std::max(std::min(topLeft.y(), visible.bottom() - size.height()), visible.top()));
    return QRectF(topLeft, size);
}

void MarqueePainter::paint(QPainter &painter, const QRectF &rect, const QString &countText, const QRectF &visible)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = continuousRoundedRect(rect, 6);
    painter.fillPath(shape, withOpacity(Palette::accentSoft(), 0.4));
    painter.setPen(QPen(Palette::accent(), 1.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape);

    if (!countText.isEmpty()) {
        const QFont font = LookFont::system(11, QFont::Bold);
        const QFontMetricsF metrics(font);
        const QRectF label = countLabelRect(
            rect, QSizeF(metrics.horizontalAdvance(countText) + 16, metrics.height() + 4), visible);
        const QPainterPath pill = capsule(label);
        ShadowPainter::draw(painter, pill, Shadows::small());
        painter.fillPath(pill, Palette::ink());
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(label, Qt::AlignCenter, countText);
    }
    painter.restore();
}

} // namespace pomelark
