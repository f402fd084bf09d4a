#include "app/Paragraph.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>
#include <memory>

namespace pomelark {

namespace {

std::unique_ptr<QTextDocument> layOut(const QString &text, const QFont &font, qreal lineSpacing, qreal width)
{
    auto document = std::make_unique<QTextDocument>();
    document->setDocumentMargin(0);
    document->setDefaultFont(font);
    document->setPlainText(text);
    QTextBlockFormat format;
    format.setAlignment(Qt::AlignHCenter);
    format.setLineHeight(lineSpacing, QTextBlockFormat::LineDistanceHeight);
    QTextCursor cursor(document.get());
    cursor.select(QTextCursor::Document);
    cursor.mergeBlockFormat(format);
    document->setTextWidth(width);
    return document;
}

} // namespace

Paragraph::Paragraph(const QString &text, const QFont &font, const QColor &color, qreal lineSpacing, int maxWidth,
                     QWidget *parent)
    : QWidget(parent), m_text(text), m_color(color), m_lineSpacing(lineSpacing), m_maxWidth(maxWidth)
{
    setFont(font);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int Paragraph::naturalWidth(const QString &text, const QFont &font)
{
    return int(std::ceil(layOut(text, font, 0, -1)->idealWidth()));
}

int Paragraph::layoutWidth(int available) const
{
    int width = std::min(available, naturalWidth(m_text, font()));
    if (m_maxWidth > 0)
        width = std::min(width, m_maxWidth);
    return std::max(width, 1);
}

int Paragraph::heightAt(int width) const
{
    return int(std::ceil(layOut(m_text, font(), m_lineSpacing, width)->size().height()));
}

QSize Paragraph::sizeHint() const
{
    const int width = layoutWidth(QWIDGETSIZE_MAX);
    return {width, heightAt(width)};
}

QSize Paragraph::minimumSizeHint() const
{
    return {0, heightAt(layoutWidth(QWIDGETSIZE_MAX))};
}

int Paragraph::heightForWidth(int width) const
{
    return heightAt(layoutWidth(width));
}

void Paragraph::paintEvent(QPaintEvent *)
{
    const int width = layoutWidth(this->width());
    const auto document = layOut(m_text, font(), m_lineSpacing, width);
    QPainter painter(this);
    painter.translate((this->width() - width) / 2.0, 0);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, m_color);
    document->documentLayout()->draw(&painter, context);
}

} // namespace pomelark
