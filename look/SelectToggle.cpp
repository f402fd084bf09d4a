#include "look/SelectToggle.h"

#include "look/Color.h"
#include "look/Palette.h"
#include "look/SymbolIcons.h"
#include "look/TuppoTooltip.h"

#include <QPainter>

namespace pomelark {

SelectToggle::SelectToggle(bool isActive, bool isEnabled, std::function<void()> action, QWidget *parent,
                           FrameTicker &ticker)
    : HoverButton(QString(), true, std::move(action), parent, ticker), m_isActive(isActive),
      m_active(isActive ? 1.0 : 0.0, ticker)
{
    setEnabled(isEnabled);
    m_active.setOnChange([this] { update(); });
    tooltip()->setText(helpText());
    setAccessibleName(helpText());
}

QString SelectToggle::helpText() const
{
    return m_isActive ? tr("Done selecting") : tr("Select several — choose which to drop or re-add");
}

void SelectToggle::setActive(bool active)
{
    if (active == m_isActive)
        return;
    m_isActive = active;
    m_active.animateTo(active ? 1.0 : 0.0, Animation::easeOut(hoverSeconds));
    tooltip()->setText(helpText());
    setAccessibleName(helpText());
    update();
}

// Not active, the colours follow the hover look; active, they are the same hovered or not.
QColor SelectToggle::iconColor() const
{
    return mixColors(mixColors(Palette::ink(), Palette::accentDeep(), hoverProgress()), Qt::white, m_active.value());
}

QColor SelectToggle::fillColor() const
{
    return mixColors(mixColors(Palette::surface(), Palette::accentSoft(), hoverProgress()), Palette::accent(),
                     m_active.value());
}

QColor SelectToggle::strokeColor() const
{
    return mixColors(mixColors(Palette::line(), Palette::accent(), hoverProgress()), Palette::accent(), m_active.value());
}

void SelectToggle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintToolFrame(painter, fillColor(), strokeColor());
    const QRectF frame(0, 0, toolSide, toolSide);
    const qreal active = m_active.value();
    const QColor icon = iconColor();
    // The two symbols cross-fade while the state changes.
    const qreal base = painter.opacity();
    if (active < 1.0) {
        painter.setOpacity(base * (1.0 - active));
        SymbolIcons::paint(painter, QStringLiteral("checkmark.square"), frame, 16, SymbolWeight::Medium, icon);
    }
    if (active > 0.0) {
        painter.setOpacity(base * active);
        SymbolIcons::paint(painter, QStringLiteral("checkmark.square.fill"), frame, 16, SymbolWeight::Medium, icon);
    }
}

} // namespace pomelark
