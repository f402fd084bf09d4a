#include "browsing/ViewerCheck.h"

#include "browsing/SelCheck.h"

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
    tooltip()->setText(SelCheck::helpText(selected));
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
    painter.translate(QRectF(rect()).center());
    painter.scale(drawnScale(), drawnScale());
    SelCheck::paint(painter, QRectF(-side / 2, -side / 2, side, side), m_isSelected, SelCheck::Ground::dark);
}

} // namespace pomelark
