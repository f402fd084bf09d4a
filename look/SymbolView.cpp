#include "look/SymbolView.h"

#include <QPainter>

#include <cmath>

namespace pomelark {

SymbolView::SymbolView(Look look, QWidget *parent) : QWidget(parent), m_look(std::move(look))
{
    if (m_look.frame.isEmpty()) {
        const int side = int(std::ceil(m_look.size));
        m_look.frame = QSize(side, side);
    }
    setFixedSize(m_look.frame);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SymbolView::setSymbolScale(qreal scale)
{
    if (scale == m_scale)
        return;
    m_scale = scale;
    update();
}

QSize SymbolView::sizeHint() const
{
    return m_look.frame;
}

void SymbolView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(rect());
    if (m_look.circle.alpha() > 0) {
        const qreal side = std::min(frame.width(), frame.height());
        QRectF circle(0, 0, side, side);
        circle.moveCenter(frame.center());
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_look.circle);
        painter.drawEllipse(circle);
    }
    if (m_scale <= 0)
        return;
    painter.translate(frame.center());
    painter.scale(m_scale, m_scale);
    painter.translate(-frame.center());
    SymbolIcons::paint(painter, m_look.symbol, frame, m_look.size, m_look.weight, m_look.color);
}

} // namespace pomelark
