#include "look/ItemOverlayBackdrop.h"

#include "look/Color.h"
#include "look/HiddenShortcuts.h"

#include <QMouseEvent>
#include <QPainter>

namespace pomelark {

ItemOverlayBackdrop::ItemOverlayBackdrop(std::function<void()> onClose, QWidget *parent, Animation fade,
                                         FrameTicker &ticker)
    : OverlayLayer(parent, fade, ticker), m_onClose(std::move(onClose))
{
    m_shortcuts = new HiddenShortcuts(this);
}

QColor ItemOverlayBackdrop::backdropColor()
{
    QColor color = colorFromHex(u"1C1814");
    color.setAlphaF(0.94);
    return color;
}

void ItemOverlayBackdrop::addShortcut(const QString &name, const QKeySequence &key, std::function<void()> action)
{
    m_shortcuts->add(name, key, [this, action = std::move(action)] {
        if (!isLeaving() && action)
            action();
    });
}

void ItemOverlayBackdrop::requestClose()
{
    if (!isLeaving() && m_onClose)
        m_onClose();
}

void ItemOverlayBackdrop::keepClicks(std::initializer_list<QWidget *> pieces)
{
    for (QWidget *piece : pieces)
        piece->setAttribute(Qt::WA_NoMousePropagation);
}

void ItemOverlayBackdrop::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), backdropColor());
}

void ItemOverlayBackdrop::mousePressEvent(QMouseEvent *event)
{
    // Presses that reach us were left alone by everything laid on top.
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ItemOverlayBackdrop::mouseReleaseEvent(QMouseEvent *event)
{
    const bool tapped = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (tapped)
        requestClose();
}

} // namespace pomelark
