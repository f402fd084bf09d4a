#include "look/IconBtn.h"

#include "look/Color.h"
#include "look/ContinuousShape.h"
#include "look/Palette.h"
#include "look/SymbolIcons.h"

#include <QPainter>

#include <cmath>

namespace pomelark {

IconBtn::IconBtn(const QString &systemImage, const QString &help, qreal size, qreal iconSize, qreal cornerRadius,
                 std::function<void()> action, QWidget *parent, FrameTicker &ticker)
    : HoverButton(help, false, std::move(action), parent, ticker), m_systemImage(systemImage), m_size(size),
      m_iconSize(iconSize), m_cornerRadius(cornerRadius)
{
}

QSize IconBtn::sizeHint() const
{
    const int side = int(std::ceil(m_size));
    return {side, side};
}

QColor IconBtn::iconColor() const
{
    return mixColors(Palette::inkSecondary(), Palette::accentDeep(), hoverProgress());
}

QColor IconBtn::fillColor() const
{
    return mixColors(Qt::transparent, Palette::accentSoft(), hoverProgress());
}

void IconBtn::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(QPointF((width() - m_size) / 2, (height() - m_size) / 2), QSizeF(m_size, m_size));
    painter.fillPath(continuousRoundedRect(frame, m_cornerRadius), fillColor());
    SymbolIcons::paint(painter, m_systemImage, frame, m_iconSize, SymbolWeight::Regular, iconColor());
}

} // namespace pomelark
