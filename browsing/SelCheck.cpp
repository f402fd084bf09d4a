#include "browsing/SelCheck.h"

#include "look/Color.h"
#include "look/Palette.h"
#include "look/ShadowPainter.h"
#include "look/Shadows.h"
#include "look/SymbolIcons.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace pomelark {

QString SelCheck::helpText(bool isSelected)
{
    return isSelected ? QCoreApplication::translate("SelCheck", "Deselect")
                      : QCoreApplication::translate("SelCheck", "Select");
}

void SelCheck::paint(QPainter &painter, const QRectF &frame, bool isSelected, Ground ground)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath disc;
    disc.addEllipse(frame);
    ShadowPainter::draw(painter, disc, Shadows::small());
    if (isSelected) {
        painter.fillPath(disc, Palette::accent());
        SymbolIcons::paint(painter, QStringLiteral("checkmark"), frame, frame.width() / 2, SymbolWeight::Bold,
                           Qt::white);
    } else {
        const bool light = ground == Ground::light;
        painter.fillPath(disc, light ? QColor(255, 255, 255, int(std::lround(0.92 * 255)))
                                     : withOpacity(colorFromHex(u"1C1814"), 0.45));
        // Stroked along the outline, half of it outside the disc.
        painter.setPen(QPen(light ? Palette::inkTertiary() : QColor::fromRgbF(1, 1, 1, 0.85f), 1.5, Qt::SolidLine,
                            Qt::FlatCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(frame);
    }
    painter.restore();
}

} // namespace pomelark
