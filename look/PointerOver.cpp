#include "look/PointerOver.h"

#include "look/PlaceWatch.h"

#include <QEnterEvent>
#include <QHoverEvent>
#include <QWidget>

namespace pomelark {

PointerOver::PointerOver(QWidget *control) : QObject(control), m_control(control)
{
    control->setAttribute(Qt::WA_Hover);
    control->installEventFilter(this);
    auto *place = new PlaceWatch(control);
    connect(place, &PlaceWatch::placeChanged, this, &PointerOver::lookAgain);
}

bool PointerOver::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_control)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Enter:
        m_pointer = m_control->mapToGlobal(static_cast<QEnterEvent *>(event)->position());
        setInside(true);
        break;
    case QEvent::HoverMove:
        // Also comes after the control moved back under a pointer Qt never saw leave.
        pointerAt(static_cast<QHoverEvent *>(event)->position());
        break;
    case QEvent::Leave:
    case QEvent::Hide:
        m_pointer.reset();
        setInside(false);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void PointerOver::pointerAt(QPointF local)
{
    m_pointer = m_control->mapToGlobal(local);
    setInside(QRectF(m_control->rect()).contains(local));
}

void PointerOver::lookAgain()
{
    if (m_pointer && m_control) {
        const QPointF local = m_control->mapFromGlobal(*m_pointer);
        setInside(m_control->isVisible() && QRectF(m_control->rect()).contains(local));
    }
    Q_EMIT placeChanged();
}

void PointerOver::setInside(bool inside)
{
    if (inside == m_inside)
        return;
    m_inside = inside;
    Q_EMIT insideChanged(inside);
}

} // namespace pomelark
