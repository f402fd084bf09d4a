#include "look/HoverButton.h"

#include "look/ContinuousShape.h"
#include "look/PointerOver.h"
#include "look/TuppoTooltip.h"

#include <QEvent>
#include <QPainter>

namespace pomelark {

HoverButton::HoverButton(const QString &help, bool hoverNeedsEnabled, std::function<void()> action, QWidget *parent,
                         FrameTicker &ticker)
    : QAbstractButton(parent), m_ticker(ticker), m_hover(0.0, ticker), m_hoverNeedsEnabled(hoverNeedsEnabled)
{
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(help);
    m_hover.setOnChange([this] { update(); });
    m_tooltip = new TuppoTooltip(this, help, ticker);
    m_pointer = new PointerOver(this);
    connect(m_pointer, &PointerOver::insideChanged, this, &HoverButton::updateHover);
    if (action)
        connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
}

HoverButton::~HoverButton()
{
    // QWidget's destructor tells of the pointer leaving, when this part of the
    // button is gone already: the hover animation must not hear of it.
    delete m_pointer;
}

void HoverButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        updateHover(m_inside);
        update();
    }
    QAbstractButton::changeEvent(event);
}

void HoverButton::updateHover(bool inside)
{
    m_inside = inside;
    const bool hover = inside && (isEnabled() || !m_hoverNeedsEnabled);
    if (hover == m_isHover)
        return;
    m_isHover = hover;
    m_hover.animateTo(hover ? 1.0 : 0.0, Animation::easeOut(hoverSeconds));
    update();
}

void HoverButton::paintToolFrame(QPainter &painter, const QColor &fill, const QColor &stroke) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : toolDisabledOpacity);
    const QRectF frame(0, 0, toolSide, toolSide);
    painter.fillPath(continuousRoundedRect(frame, 12), fill);
    painter.setPen(QPen(stroke, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawPath(continuousRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), 11.5));
}

} // namespace pomelark
