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

namespace pomelark {

namespace {
constexpr qreal countLabelRise = 24;
} // namespace

void MarqueePainter::paint(QPainter &painter, const QRectF &rect, const QString &countText)
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
        const QRectF label(rect.left(), rect.top() - countLabelRise, metrics.horizontalAdvance(countText) + 16,
                           metrics.height() + 4);
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
