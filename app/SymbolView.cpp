#include "app/SymbolView.h"

#include <QPainter>

namespace pomelark {

SymbolView::SymbolView(const QString &name, int size, const QColor &color, QWidget *parent, SymbolWeight weight)
    : QWidget(parent), m_name(name), m_size(size), m_color(color), m_weight(weight)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(size, size);
}

void SymbolView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    SymbolIcons::paint(painter, m_name, rect(), m_size, m_weight, m_color);
}

} // namespace pomelark
