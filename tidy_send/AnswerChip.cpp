#include "tidy_send/AnswerChip.h"

#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/SymbolIcons.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace pomelark {

namespace {

constexpr qreal symbolSize = 10;
constexpr qreal spacing = 4;
constexpr qreal paddingX = 11;
constexpr qreal paddingY = 5;

} // namespace

AnswerChip::AnswerChip(const QString &label, const QString &systemImage, bool isActive, const QColor &activeColor,
                       std::function<void()> action, QWidget *parent)
    : QAbstractButton(parent), m_systemImage(systemImage), m_isActive(isActive), m_activeColor(activeColor)
{
    setText(label);
    setFont(LookFont::system(12, QFont::DemiBold));
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    if (action)
        connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
}

void AnswerChip::setActive(bool active)
{
    if (active == m_isActive)
        return;
    m_isActive = active;
    update();
}

QColor AnswerChip::fillColor() const
{
    return m_isActive ? m_activeColor : Palette::surface();
}

QColor AnswerChip::foregroundColor() const
{
    return m_isActive ? QColor(Qt::white) : Palette::inkSecondary();
}

QSize AnswerChip::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const qreal width = symbolSize + spacing + metrics.horizontalAdvance(text()) + 2 * paddingX;
    const qreal height = std::max(symbolSize, metrics.height()) + 2 * paddingY;
    return QSizeF(std::ceil(width), std::ceil(height)).toSize();
}

void AnswerChip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(rect());
    painter.fillPath(capsule(box), fillColor());
    if (!m_isActive) {
        painter.setPen(QPen(Palette::line(), 1));
        painter.drawPath(capsule(box.adjusted(0.5, 0.5, -0.5, -0.5)));
    }
    const QRectF content = box.adjusted(paddingX, paddingY, -paddingX, -paddingY);
    SymbolIcons::paint(painter, m_systemImage,
                       QRectF(content.left(), content.center().y() - symbolSize / 2, symbolSize, symbolSize),
                       symbolSize, SymbolWeight::Bold, foregroundColor());
    painter.setPen(foregroundColor());
    painter.drawText(content.adjusted(symbolSize + spacing, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace pomelark
