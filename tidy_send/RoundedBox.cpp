#include "tidy_send/RoundedBox.h"

#include "look/ContinuousShape.h"

#include <QPainter>

namespace pomelark {

RoundedBox::RoundedBox(Look look, QWidget *parent) : QWidget(parent), m_look(std::move(look)) {}

void RoundedBox::setPreferredMaximumWidth(int width)
{
    m_preferredMaximumWidth = width;
    setMaximumWidth(width);
    setSizePolicy(QSizePolicy::Expanding, sizePolicy().verticalPolicy());
    updateGeometry();
}

QSize RoundedBox::sizeHint() const
{
    QSize hint = QWidget::sizeHint();
    if (m_preferredMaximumWidth > 0)
        hint.setWidth(m_preferredMaximumWidth);
    return hint;
}

void RoundedBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto shape = [this](const QRectF &box, qreal radius) {
        return m_look.capsule ? capsule(box) : continuousRoundedRect(box, radius);
    };
    const QRectF box(rect());
    painter.fillPath(shape(box, m_look.radius), m_look.fill);
    if (m_look.stroke.alpha() > 0) {
        // The 1 px line lies inside the edge, as a stroked overlay of the same shape would.
        painter.setPen(QPen(m_look.stroke, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shape(box.adjusted(0.5, 0.5, -0.5, -0.5), m_look.radius - 0.5));
    }
}

} // namespace pomelark
