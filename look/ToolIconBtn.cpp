#include "look/ToolIconBtn.h"

#include "look/Color.h"
#include "look/Palette.h"
#include "look/SymbolIcons.h"

#include <QPainter>

namespace pomelark {

ToolIconBtn::ToolIconBtn(const QString &systemImage, const QString &help, bool isEnabled,
                         std::function<void()> action, QWidget *parent, FrameTicker &ticker)
    : HoverButton(help, true, std::move(action), parent, ticker), m_systemImage(systemImage)
{
    setEnabled(isEnabled);
}

QColor ToolIconBtn::iconColor() const
{
    return mixColors(Palette::ink(), Palette::accentDeep(), hoverProgress());
}

QColor ToolIconBtn::fillColor() const
{
    return mixColors(Palette::surface(), Palette::accentSoft(), hoverProgress());
}

QColor ToolIconBtn::strokeColor() const
{
    return mixColors(Palette::line(), Palette::accent(), hoverProgress());
}

void ToolIconBtn::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintToolFrame(painter, fillColor(), strokeColor());
    SymbolIcons::paint(painter, m_systemImage, QRectF(0, 0, toolSide, toolSide), 16, SymbolWeight::Medium, iconColor());
}

} // namespace pomelark
