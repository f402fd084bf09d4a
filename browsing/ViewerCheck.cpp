#include "browsing/ViewerCheck.h"

#include "look/Color.h"
#include "look/Palette.h"
#include "look/ShadowPainter.h"
#include "look/SymbolIcons.h"
#include "look/TuppoTooltip.h"

#include <QPainter>

namespace pomelark {

namespace {
constexpr qreal side = 30;
/// Room for the grown check and its shadow.
constexpr int frameSide = 36;
} // namespace

ViewerCheck::ViewerCheck(bool isSelected, std::function<void()> action, QWidget *parent, FrameTicker &ticker)
    : HoverButton(QString(), false, std::move(action), parent, ticker), m_isSelected(!isSelected)
{
    setSelected(isSelected);
}

void ViewerCheck::setSelected(bool selected)
{
    if (selected == m_isSelected)
        return;
    m_isSelected = selected;
    tooltip()->setText(selected ? tr("Deselect") : tr("Select"));
    setAccessibleName(tooltip()->text());
    update();
}

QSize ViewerCheck::sizeHint() const
{
    return {frameSide, frameSide};
}

void ViewerCheck::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    painter.translate(centre);
    painter.scale(drawnScale(), drawnScale());
    const QRectF circle(-side / 2, -side / 2, side, side);
    QPainterPath disc;
    disc.addEllipse(circle);
    ShadowPainter::draw(painter, disc, Shadows::small());
    if (m_isSelected) {
        painter.fillPath(disc, Palette::accent());
        SymbolIcons::paint(painter, QStringLiteral("checkmark"), circle, 15, SymbolWeight::Bold, Qt::white);
        return;
    }
    painter.fillPath(disc, withOpacity(colorFromHex(u"1C1814"), 0.45));
    painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, 0.85f), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(circle);
}

} // namespace pomelark
