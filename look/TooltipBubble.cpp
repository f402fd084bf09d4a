#include "look/TooltipBubble.h"

#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/ShadowPainter.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace pomelark {

namespace {

constexpr qreal paddingX = 9;
constexpr qreal paddingY = 5;
constexpr qreal cornerRadius = 8;
constexpr int textPixelSize = 11;

} // namespace

TooltipBubble::TooltipBubble(QWidget *window) : QWidget(window)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFont(LookFont::system(textPixelSize, QFont::Normal));
    m_margin = std::ceil(ShadowPainter::reach(Shadows::medium()));
}

void TooltipBubble::setText(const QString &text)
{
    m_text = text;
    update();
}

void TooltipBubble::setBubbleOpacity(qreal opacity)
{
    if (opacity == m_opacity)
        return;
    m_opacity = opacity;
    update();
}

QSizeF TooltipBubble::bubbleSize() const
{
    const QFontMetricsF metrics(font());
    return {std::ceil(metrics.horizontalAdvance(m_text)) + 2 * paddingX, std::ceil(metrics.height()) + 2 * paddingY};
}

void TooltipBubble::place(const QRectF &bubble)
{
    setGeometry(bubble.adjusted(-m_margin, -m_margin, m_margin, m_margin).toAlignedRect());
}

QRectF TooltipBubble::bubbleRect() const
{
    return QRectF(QPointF(geometry().topLeft()) + QPointF(m_margin, m_margin), bubbleSize());
}

void TooltipBubble::paintEvent(QPaintEvent *)
{
    if (m_opacity <= 0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_opacity);
    const QRectF bubble(QPointF(m_margin, m_margin), bubbleSize());
    const QPainterPath shape = continuousRoundedRect(bubble, cornerRadius);
    ShadowPainter::draw(painter, shape, Shadows::medium());
    painter.fillPath(shape, Palette::surface());
    // The hairline sits just inside the edge so it stays one crisp pixel wide.
    painter.setPen(QPen(Palette::line(), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawPath(continuousRoundedRect(bubble.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius - 0.5));
    painter.setPen(Palette::ink());
    painter.drawText(bubble.adjusted(paddingX, paddingY, -paddingX, -paddingY), Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

} // namespace pomelark
