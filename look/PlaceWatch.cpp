#include "look/PlaceWatch.h"

#include <QEvent>
#include <QWidget>

namespace pomelark {

PlaceWatch::PlaceWatch(QWidget *widget) : QObject(widget), m_widget(widget)
{
    watchChain();
}

PlaceWatch::~PlaceWatch()
{
    unwatchChain();
}

void PlaceWatch::unwatchChain()
{
    for (const QPointer<QWidget> &each : std::as_const(m_chain)) {
        if (each)
            each->removeEventFilter(this);
    }
    m_chain.clear();
}

void PlaceWatch::watchChain()
{
    unwatchChain();
    for (QWidget *each = m_widget; each; each = each->isWindow() ? nullptr : each->parentWidget()) {
        each->installEventFilter(this);
        m_chain.append(each);
    }
}

bool PlaceWatch::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ParentChange:
        watchChain();
        Q_EMIT placeChanged();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        Q_EMIT placeChanged();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pomelark
