#include "browsing/RoundOverlayButton.h"

#include "look/SymbolIcons.h"

#include <QPainter>

namespace pomelark {

RoundOverlayButton::RoundOverlayButton(const QString &systemImage, const QString &help, bool isLarge,
                                       std::function<void()> action, QWidget *parent, FrameTicker &ticker)
    : HoverButton(help, false, std::move(action), parent, ticker), m_systemImage(systemImage), m_isLarge(isLarge)
{
    // Qt hands a disabled widget's clicks to its parent; a dimmed step button
    // must not pass them on to the backdrop, which would close the viewer.
    setAttribute(Qt::WA_NoMousePropagation);
}

QSize RoundOverlayButton::sizeHint() const
{
    const int side = m_isLarge ? 52 : 40;
    return {side, side};
}

qreal RoundOverlayButton::circleOpacity() const
{
    return 0.12 + 0.10 * hoverProgress();
}

void RoundOverlayButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(drawnOpacity());
    const qreal side = m_isLarge ? 52 : 40;
    const QRectF frame(QPointF((width() - side) / 2, (height() - side) / 2), QSizeF(side, side));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(1, 1, 1, float(circleOpacity())));
    painter.drawEllipse(frame);
    SymbolIcons::paint(painter, m_systemImage, frame, m_isLarge ? 22 : 17, SymbolWeight::Semibold, Qt::white);
}

} // namespace pomelark
