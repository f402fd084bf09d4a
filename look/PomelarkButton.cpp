#include "look/PomelarkButton.h"

#include "look/Color.h"
#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/SymbolIcons.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace pomelark {

namespace {

constexpr qreal symbolSpacing = 6;

SymbolWeight symbolWeightFor(QFont::Weight weight)
{
    if (weight >= QFont::Bold)
        return SymbolWeight::Bold;
    if (weight >= QFont::DemiBold)
        return SymbolWeight::Semibold;
    if (weight >= QFont::Medium)
        return SymbolWeight::Medium;
    return SymbolWeight::Regular;
}

// The scale about the centre, as a transform of the button's own coordinates.
QTransform scaledAbout(const QRectF &rect, qreal scale)
{
    QTransform t;
    t.translate(rect.center().x(), rect.center().y());
    t.scale(scale, scale);
    t.translate(-rect.center().x(), -rect.center().y());
    return t;
}

} // namespace

PomelarkButton::PomelarkButton(const ButtonStyle &style, const QString &text, const QString &symbol,
                               std::function<void()> action, QWidget *parent, FrameTicker &ticker)
    : QAbstractButton(parent), m_style(style), m_symbol(symbol), m_press(0.0, ticker)
{
    setText(text);
    setFocusPolicy(Qt::NoFocus);
    setFont(LookFont::system(style.fontPixelSize, style.fontWeight));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_press.setOnChange([this] { repaintAll(); });
    connect(this, &QAbstractButton::pressed, this, &PomelarkButton::pressChanged);
    connect(this, &QAbstractButton::released, this, &PomelarkButton::pressChanged);
    if (action)
        connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
    ensureShadow();
}

void PomelarkButton::ensureShadow()
{
    if (m_shadow || !m_style.shadow.isVisible() || !parentWidget())
        return;
    m_shadow = new ShadowUnderlay(this, [this] {
        return ShadowUnderlay::Cast{scaledAbout(rect(), drawnScale()).map(backgroundShape()), m_style.shadow,
                                    drawnOpacity()};
    });
}

bool PomelarkButton::event(QEvent *event)
{
    // Buttons are often made first and put into a layout afterwards.
    if (event->type() == QEvent::ParentChange)
        ensureShadow();
    return QAbstractButton::event(event);
}

qreal PomelarkButton::drawnOpacity() const
{
    return isEnabled() ? 1.0 : m_style.disabledOpacity;
}

qreal PomelarkButton::drawnScale() const
{
    return 1.0 + (m_style.pressedScale - 1.0) * m_press.value();
}

QColor PomelarkButton::drawnFill() const
{
    return mixColors(m_style.fill, m_style.pressedFill, m_press.value());
}

QSize PomelarkButton::sizeHint() const
{
    const QFontMetricsF metrics(font());
    qreal width = metrics.horizontalAdvance(text());
    if (!m_symbol.isEmpty())
        width += m_style.fontPixelSize + (text().isEmpty() ? 0 : symbolSpacing);
    return QSizeF(std::ceil(width + 2 * m_style.paddingX), std::ceil(metrics.height() + 2 * m_style.paddingY)).toSize();
}

void PomelarkButton::pressChanged()
{
    m_press.animateTo(isDown() ? 1.0 : 0.0, Animation::easeOut(ButtonStyle::pressSeconds));
    repaintAll();
}

void PomelarkButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        repaintAll();
    QAbstractButton::changeEvent(event);
}

void PomelarkButton::repaintAll()
{
    update();
    if (m_shadow)
        m_shadow->refresh();
}

QPainterPath PomelarkButton::backgroundShape() const
{
    return continuousRoundedRect(QRectF(rect()), m_style.cornerRadius);
}

void PomelarkButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(drawnOpacity());
    painter.setTransform(scaledAbout(rect(), drawnScale()));

    const qreal press = m_press.value();
    painter.fillPath(backgroundShape(), drawnFill());
    const QColor stroke = mixColors(m_style.stroke, m_style.pressedStroke, press);
    if (stroke.alpha() > 0) {
        painter.setPen(QPen(stroke, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        painter.drawPath(continuousRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), m_style.cornerRadius - 0.5));
    }

    const QRectF content = QRectF(rect()).adjusted(m_style.paddingX, m_style.paddingY, -m_style.paddingX, -m_style.paddingY);
    const QFontMetricsF metrics(font());
    const qreal symbolWidth = m_symbol.isEmpty() ? 0 : m_style.fontPixelSize + (text().isEmpty() ? 0 : symbolSpacing);
    const qreal total = symbolWidth + metrics.horizontalAdvance(text());
    qreal x = content.center().x() - total / 2;
    if (!m_symbol.isEmpty()) {
        const QRectF box(x, content.center().y() - m_style.fontPixelSize / 2.0, m_style.fontPixelSize, m_style.fontPixelSize);
        SymbolIcons::paint(painter, m_symbol, box, m_style.fontPixelSize, symbolWeightFor(m_style.fontWeight), m_style.labelColor);
        x += symbolWidth;
    }
    painter.setPen(m_style.labelColor);
    painter.drawText(QRectF(x, content.top(), total - symbolWidth + 1, content.height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace pomelark
