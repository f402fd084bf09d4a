#include "look/CrossFade.h"

#include <QPainter>

namespace pomelark {

CrossFade::CrossFade(FrameTicker &ticker) : m_progress(1.0, ticker) {}

void CrossFade::start(QPixmap outgoing, const Animation &animation)
{
    m_outgoing = std::move(outgoing);
    m_progress.setValue(0.0);
    m_progress.animateTo(1.0, animation);
}

qreal CrossFade::incomingOpacity() const
{
    return m_progress.value();
}

void CrossFade::paintOutgoing(QPainter &painter, const QRectF &target, qreal opacity) const
{
    if (m_outgoing.isNull())
        return;
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    painter.drawPixmap(target, m_outgoing, QRectF(m_outgoing.rect()));
    painter.restore();
}

void CrossFade::beginIncoming(QPainter &painter, qreal opacity)
{
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
}

void CrossFade::endIncoming(QPainter &painter)
{
    painter.restore();
}

} // namespace pomelark
