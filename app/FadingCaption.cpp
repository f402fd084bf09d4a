#include "app/FadingCaption.h"

#include <QPainter>

namespace pomelark {

FadingCaption::FadingCaption(const QString &text, const QFont &font, const QColor &color, QWidget *parent,
                             FrameTicker &ticker)
    : QWidget(parent), m_text(text), m_color(color), m_fade(ticker)
{
    setFont(font);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_fade.setOnChange([this] { update(); });
}

void FadingCaption::setText(const QString &text)
{
    if (text == m_text)
        return;
    // What is on screen now, a fade in progress included, is what fades out.
    QPixmap outgoing(size() * devicePixelRatioF());
    outgoing.setDevicePixelRatio(devicePixelRatioF());
    outgoing.fill(Qt::transparent);
    render(&outgoing, QPoint(), QRegion(), QWidget::DrawChildren);
    m_text = text;
    m_fade.start(outgoing, Animation::easeOut(fadeSeconds));
    updateGeometry();
    update();
}

QSize FadingCaption::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(m_text), metrics.height()};
}

QSize FadingCaption::minimumSizeHint() const
{
    return {0, QFontMetrics(font()).height()};
}

void FadingCaption::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    m_fade.paint(painter, rect(), [this](QPainter &p) {
        p.setPen(m_color);
        p.setFont(font());
        p.drawText(rect(), Qt::AlignCenter, m_text);
    });
}

} // namespace pomelark
