#include "look/WrappedText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace pomelark {

WrappedText::WrappedText(const QString &text, const QFont &font, const QColor &color, Qt::Alignment alignment,
                         qreal lineSpacing, QWidget *parent)
    : QWidget(parent), m_text(text), m_font(LookFont::scaledForDrawing(font)), m_color(color), m_alignment(alignment),
      m_lineSpacing(lineSpacing)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void WrappedText::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    updateGeometry();
    update();
}

qreal WrappedText::layOut(qreal width, QPainter *painter) const
{
    // Laid out in the drawing font's own units, then drawn through its scale.
    const qreal scale = m_font.scale;
    const qreal lineSpacing = m_lineSpacing / scale;
    width /= scale;
    if (painter) {
        painter->save();
        painter->scale(scale, scale);
    }
    const QStringList paragraphs = m_text.split(u'\n');
    QTextOption option(m_alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WordWrap);
    qreal y = 0;
    bool first = true;
    for (const QString &paragraph : paragraphs) {
        QTextLayout layout(paragraph, m_font.font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            if (!first)
                y += lineSpacing;
            first = false;
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        layout.endLayout();
        if (paragraph.isEmpty()) {
            // An empty paragraph still takes one line.
            if (!first)
                y += lineSpacing;
            first = false;
            y += QFontMetricsF(m_font.font).height();
        }
        if (painter)
            layout.draw(painter, QPointF(0, 0));
    }
    if (painter)
        painter->restore();
    return y * scale;
}

int WrappedText::heightForWidth(int width) const
{
    return int(std::ceil(layOut(width, nullptr)));
}

QSize WrappedText::sizeHint() const
{
    // As wide as its longest line wants, capped so long texts wrap by default.
    const QFontMetricsF metrics(m_font.font);
    qreal widest = 0;
    for (const QString &paragraph : m_text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(paragraph) * m_font.scale);
    const int width = int(std::ceil(std::min<qreal>(widest, 480)));
    return {width, heightForWidth(width)};
}

QSize WrappedText::minimumSizeHint() const
{
    return {0, int(std::ceil(QFontMetricsF(m_font.font).height() * m_font.scale))};
}

void WrappedText::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(m_color);
    // Only a text that does not sit at the top needs its height before drawing.
    if (m_alignment & (Qt::AlignVCenter | Qt::AlignBottom)) {
        const qreal spare = height() - layOut(width(), nullptr);
        painter.translate(0, m_alignment & Qt::AlignVCenter ? spare / 2 : spare);
    }
    layOut(width(), &painter);
}

} // namespace pomelark
