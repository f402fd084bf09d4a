#include "app/ElidedLabel.h"

#include <QEvent>
#include <QFontMetrics>

namespace pomelark {

ElidedLabel::ElidedLabel(const QString &text, QWidget *parent) : QLabel(parent), m_fullText(text)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    updateShown();
}

void ElidedLabel::setFullText(const QString &text)
{
    if (text == m_fullText)
        return;
    m_fullText = text;
    updateGeometry();
    updateShown();
}

QSize ElidedLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(m_fullText) + 1, metrics.height()};
}

QSize ElidedLabel::minimumSizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(QStringLiteral("…")), metrics.height()};
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    updateShown();
}

void ElidedLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateShown();
}

void ElidedLabel::updateShown()
{
    const QString shown = fontMetrics().elidedText(m_fullText, Qt::ElideMiddle, width());
    if (shown != QLabel::text())
        QLabel::setText(shown);
}

} // namespace pomelark
