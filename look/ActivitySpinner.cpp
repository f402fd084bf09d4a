#include "look/ActivitySpinner.h"

#include <QPainter>

namespace pomelark {

ActivitySpinner::ActivitySpinner(const QColor &tint, int diameter, QWidget *parent, FrameTicker &ticker)
    : QWidget(parent), m_ticker(ticker), m_tint(tint), m_diameter(diameter)
{
    setFixedSize(diameter, diameter);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

ActivitySpinner::~ActivitySpinner()
{
    m_ticker.remove(this);
}

void ActivitySpinner::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_ticker.add(this);
}

void ActivitySpinner::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_ticker.remove(this);
}

void ActivitySpinner::advanceTo(std::chrono::nanoseconds now)
{
    const auto perSpoke = std::chrono::nanoseconds(std::chrono::seconds(1)) / spokes;
    const int leading = int((now / perSpoke) % spokes);
    if (leading == m_leading)
        return;
    m_leading = leading;
    update();
}

void ActivitySpinner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width() / 2.0, height() / 2.0);
    const qreal radius = m_diameter / 2.0;
    QPen pen(m_tint, m_diameter / 11.0, Qt::SolidLine, Qt::RoundCap);
    for (int i = 0; i < spokes; ++i) {
        // The leading spoke is full; those behind it fade towards a quarter.
        const int behind = (m_leading - i + spokes) % spokes;
        QColor colour = m_tint;
        colour.setAlphaF(1.0 - 0.75 * behind / (spokes - 1));
        pen.setColor(colour);
        painter.setPen(pen);
        painter.save();
        painter.rotate(360.0 * i / spokes);
        painter.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius * 0.9));
        painter.restore();
    }
}

} // namespace pomelark
