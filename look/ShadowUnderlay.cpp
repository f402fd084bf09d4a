#include "look/ShadowUnderlay.h"

#include "look/ShadowPainter.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace pomelark {

ShadowUnderlay::ShadowUnderlay(QWidget *owner, std::function<Cast()> cast)
    : QWidget(owner->parentWidget()), m_owner(owner), m_cast(std::move(cast))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    m_margin = std::ceil(ShadowPainter::reach(m_cast().shadow));
    owner->installEventFilter(this);
    // A sibling, not a child: it goes when the owner goes.
    connect(owner, &QObject::destroyed, this, &QObject::deleteLater);
    follow();
}

void ShadowUnderlay::refresh()
{
    update();
}

void ShadowUnderlay::follow()
{
    if (!m_owner || !m_owner->parentWidget()) {
        hide();
        return;
    }
    if (parentWidget() != m_owner->parentWidget())
        setParent(m_owner->parentWidget());
    setGeometry(m_owner->geometry().adjusted(-int(m_margin), -int(m_margin), int(m_margin), int(m_margin)));
    setVisible(m_owner->isVisibleTo(m_owner->parentWidget()));
    stackUnder(m_owner);
    update();
}

bool ShadowUnderlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_owner) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ParentChange:
        case QEvent::ZOrderChange:
            follow();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ShadowUnderlay::paintEvent(QPaintEvent *)
{
    if (!m_owner)
        return;
    const Cast cast = m_cast();
    if (cast.opacity <= 0)
        return;
    QPainter painter(this);
    painter.setOpacity(cast.opacity);
    painter.translate(m_margin, m_margin);
    ShadowPainter::draw(painter, cast.shape, cast.shadow);
}

} // namespace pomelark
