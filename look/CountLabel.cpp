#include "look/CountLabel.h"

#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/SymbolIcons.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace pomelark {

namespace {

constexpr int iconSize = 15;
constexpr qreal spacing = 6;

} // namespace

CountLabel::CountLabel(const QString &icon, const QString &text, bool muted, QWidget *parent)
    : QWidget(parent), m_icon(icon), m_text(text), m_muted(muted)
{
    setFont(LookFont::system(13, QFont::Medium));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CountLabel::setText(const QString &text)
{
    m_text = text;
    updateGeometry();
    update();
}

QColor CountLabel::iconColor() const
{
    return m_muted ? Palette::inkTertiary() : Palette::inkSecondary();
}

QColor CountLabel::textColor() const
{
    return m_muted ? Palette::inkSecondary() : Palette::ink();
}

QSize CountLabel::sizeHint() const
{
    const QFontMetricsF metrics(font());
    return QSizeF(std::ceil(iconSize + spacing + metrics.horizontalAdvance(m_text)),
                  std::ceil(std::max<qreal>(iconSize, metrics.height())))
        .toSize();
}

void CountLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal middle = height() / 2.0;
    SymbolIcons::paint(painter, m_icon, QRectF(0, middle - iconSize / 2.0, iconSize, iconSize), iconSize,
                       SymbolWeight::Regular, iconColor());
    painter.setPen(textColor());
    painter.drawText(QRectF(iconSize + spacing, 0, width() - iconSize - spacing, height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}

} // namespace pomelark
