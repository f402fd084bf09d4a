#include "tidy_send/LookRoundBtn.h"

#include "look/SymbolIcons.h"

#include <QPainter>

namespace pomelark {

namespace {

constexpr qreal restOpacity = 0.12;
constexpr qreal hoverOpacity = 0.22;

} // namespace

LookRoundBtn::LookRoundBtn(const QString &systemImage, const QString &help, bool isLarge,
                           std::function<void()> action, QWidget *parent, FrameTicker &ticker)
    : QAbstractButton(parent), m_systemImage(systemImage), m_isLarge(isLarge), m_hover(0.0, ticker)
{
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setToolTip(help);
    setAccessibleName(help);
    m_hover.setOnChange([this] { update(); });
    if (action)
        connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
}

QSize LookRoundBtn::sizeHint() const
{
    const int side = m_isLarge ? 52 : 40;
    return {side, side};
}

qreal LookRoundBtn::circleOpacity() const
{
    return restOpacity + (hoverOpacity - restOpacity) * m_hover.value();
}

void LookRoundBtn::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    m_isHover = true;
    m_hover.animateTo(1.0, Animation::easeOut(hoverSeconds));
}

void LookRoundBtn::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    m_isHover = false;
    m_hover.animateTo(0.0, Animation::easeOut(hoverSeconds));
}

void LookRoundBtn::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(drawnOpacity());
    const QSize side = sizeHint();
    const QRectF frame(QPointF((width() - side.width()) / 2.0, (height() - side.height()) / 2.0), side);
    QColor circle(Qt::white);
    circle.setAlphaF(circleOpacity());
    painter.setPen(Qt::NoPen);
    painter.setBrush(circle);
    painter.drawEllipse(frame);
    SymbolIcons::paint(painter, m_systemImage, frame, m_isLarge ? 22 : 17, SymbolWeight::Semibold, Qt::white);
}

} // namespace pomelark
