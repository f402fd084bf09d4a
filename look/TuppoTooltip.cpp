#include "look/TuppoTooltip.h"

#include "look/PointerOver.h"
#include "look/TooltipBubble.h"
#include "look/TooltipPlacement.h"

#include <QWidget>

namespace pomelark {

TuppoTooltip::TuppoTooltip(QWidget *content, const QString &text, FrameTicker &ticker)
    : QObject(content), m_content(content), m_ticker(ticker), m_text(text),
      m_presence(Transition::opacity(), ticker)
{
    m_presence.setOnChange([this] { syncBubble(); });
    auto *pointer = new PointerOver(content);
    connect(pointer, &PointerOver::insideChanged, this, [this](bool inside) {
        if (inside)
            pointerEntered();
        else
            pointerLeft();
    });
    connect(pointer, &PointerOver::placeChanged, this, &TuppoTooltip::syncBubble);
}

TuppoTooltip::~TuppoTooltip()
{
    m_ticker.remove(this);
    // The bubble belongs to the window, which may outlive the control.
    delete m_bubble.data();
}

void TuppoTooltip::setText(const QString &text)
{
    m_text = text;
    if (m_bubble) {
        m_bubble->setText(text);
        syncBubble();
    }
}

TooltipBubble *TuppoTooltip::bubble() const
{
    return m_bubble && m_bubble->isVisible() ? m_bubble.data() : nullptr;
}

void TuppoTooltip::pointerEntered()
{
    m_deadline = m_ticker.now() + delay;
    m_ticker.add(this);
}

void TuppoTooltip::pointerLeft()
{
    m_deadline.reset();
    m_ticker.remove(this);
    m_showTip = false;
    m_presence.remove(Animation::easeOut(fadeSeconds));
}

void TuppoTooltip::advanceTo(std::chrono::nanoseconds now)
{
    if (!m_deadline || now < *m_deadline)
        return;
    m_deadline.reset();
    m_ticker.remove(this);
    m_showTip = true;
    m_presence.insert(Animation::easeOut(fadeSeconds));
    syncBubble();
}

void TuppoTooltip::syncBubble()
{
    if (!m_content)
        return;
    if (!m_presence.isVisible()) {
        if (m_bubble)
            m_bubble->hide();
        return;
    }
    QWidget *window = m_content->window();
    if (!m_bubble || m_bubble->parentWidget() != window) {
        delete m_bubble.data();
        m_bubble = new TooltipBubble(window);
    }
    m_bubble->setText(m_text);
    m_bubble->setBubbleOpacity(m_presence.progress());
    const QRectF control(m_content->mapTo(window, QPoint(0, 0)), m_content->size());
    m_bubble->place(tooltipPlacement(control, m_bubble->bubbleSize(), window->rect(),
                                     m_content->layoutDirection() == Qt::RightToLeft, offsetBelow));
    if (!m_bubble->isVisible())
        m_bubble->show();
    m_bubble->raise();
}

} // namespace pomelark
