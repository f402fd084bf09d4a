#include "browsing/MarqueeSelection.h"

#include <algorithm>
#include <cmath>

namespace pomelark {

QRectF MarqueeSelection::rectBetween(QPointF a, QPointF b)
{
    return {QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
            QSizeF(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()))};
}

bool MarqueeSelection::meets(const QRectF &a, const QRectF &b)
{
    // Written out rather than QRectF::intersects, which never lets a rectangle
    // of zero width meet anything: a straight vertical drag must still hit the
    // tiles it crosses.
    return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() && b.top() < a.bottom();
}

QRectF MarqueeSelection::rect() const
{
    return m_marquee ? rectBetween(m_marquee->start, m_marquee->current) : QRectF();
}

bool MarqueeSelection::isVisible() const
{
    const QRectF r = rect();
    return m_marquee && r.width() + r.height() > 1;
}

void MarqueeSelection::dragChanged(QPointF start, QPointF current, std::optional<QUuid> tileAtStart,
                                   const QSet<QUuid> &selected, const HitTest &hitTest)
{
    if (m_marquee)
        m_marquee->current = current;
    else
        m_marquee = Marquee{start, current, tileAtStart && selected.contains(*tileAtStart)};
    updateHits(hitTest);
}

void MarqueeSelection::shift(QPointF delta, const HitTest &hitTest)
{
    if (!m_marquee)
        return;
    m_marquee->current += delta;
    updateHits(hitTest);
}

void MarqueeSelection::updateHits(const HitTest &hitTest)
{
    if (!m_marquee)
        return;
    m_hitIDs = hitTest ? hitTest(rect()) : QSet<QUuid>();
}

std::optional<QSet<QUuid>> MarqueeSelection::dragEnded(const QSet<QUuid> &selected)
{
    std::optional<QSet<QUuid>> result;
    if (m_marquee && !m_hitIDs.isEmpty()) {
        QSet<QUuid> next = selected;
        if (m_marquee->deselect)
            next.subtract(m_hitIDs);
        else
            next.unite(m_hitIDs);
        result = next;
    }
    cancel();
    return result;
}

void MarqueeSelection::cancel()
{
    m_marquee.reset();
    m_hitIDs.clear();
}

} // namespace pomelark
