#include "browsing/SelectionBar.h"

#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/ShadowUnderlay.h"
#include "look/Shadows.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace pomelark {

namespace {

constexpr qreal spacing = 10;
constexpr qreal leadingPadding = 18;
constexpr qreal trailingPadding = 12;
constexpr qreal verticalPadding = 10;
constexpr qreal bottomGap = 20;
constexpr qreal dividerHeight = 22;
constexpr qreal dividerPadding = 2;
constexpr qreal capsuleHorizontalPadding = 16;
constexpr qreal capsuleVerticalPadding = 8;
constexpr qreal donePadding = 4;
constexpr qreal pressedOpacity = 0.7;

QFont statusFont(bool hasSelection)
{
    return LookFont::system(13, hasSelection ? QFont::Bold : QFont::DemiBold);
}

QSizeF textSize(const QFont &font, const QString &text)
{
    const QFontMetricsF metrics(font);
    return {std::ceil(metrics.horizontalAdvance(text)), std::ceil(metrics.height())};
}

} // namespace

SelectionBar::SelectionBar(Inputs inputs, QWidget *parent) : QWidget(parent), m_inputs(std::move(inputs))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    fitToContent();
}

void SelectionBar::fitToContent()
{
    resize(sizeHint());
    // The clear space under the capsule lets clicks through to the grid.
    setMask(capsuleRect().toAlignedRect());
}

void SelectionBar::setCount(int count)
{
    if (count == m_inputs.count)
        return;
    m_inputs.count = count;
    // The bar is exactly as wide as its content.
    updateGeometry();
    fitToContent();
    update();
    if (m_shadow)
        m_shadow->refresh();
}

void SelectionBar::setOpacity(qreal opacity)
{
    if (opacity == m_opacity)
        return;
    m_opacity = opacity;
    update();
    if (m_shadow)
        m_shadow->refresh();
}

QString SelectionBar::statusText() const
{
    return m_inputs.count < 1 ? tr("Select photos to exclude") : tr("%1 selected").arg(m_inputs.count);
}

bool SelectionBar::isButtonEnabled(Button button) const
{
    switch (button) {
    case Button::clear:
    case Button::include:
    case Button::exclude:
        return m_inputs.count >= 1;
    case Button::done:
        return true;
    }
    return false;
}

QList<SelectionBar::Piece> SelectionBar::pieces() const
{
    const bool hasSelection = m_inputs.count >= 1;
    const QFont buttonFont = LookFont::system(13, QFont::DemiBold);
    const QFont clearFont = LookFont::system(12, QFont::DemiBold);

    // Widths first, then everything is centred on the tallest piece.
    QList<Piece> row;
    row.append({QRectF(QPointF(), textSize(statusFont(hasSelection), statusText())), statusText(), {}});
    if (hasSelection)
        row.append({QRectF(QPointF(), textSize(clearFont, tr("Clear"))), tr("Clear"), Button::clear});
    row.append({QRectF(0, 0, 1 + 2 * dividerPadding, dividerHeight), {}, {}});
    for (const auto &[text, button] : {std::pair{tr("Include"), Button::include}, {tr("Exclude"), Button::exclude}}) {
        const QSizeF size = textSize(buttonFont, text);
        row.append({QRectF(0, 0, size.width() + 2 * capsuleHorizontalPadding, size.height() + 2 * capsuleVerticalPadding),
                    text, button});
    }
    const QSizeF done = textSize(buttonFont, tr("Done"));
    row.append({QRectF(0, 0, done.width() + 2 * donePadding, done.height()), tr("Done"), Button::done});

    qreal height = 0;
    for (const Piece &piece : row)
        height = std::max(height, piece.frame.height());
    qreal x = leadingPadding;
    for (Piece &piece : row) {
        piece.frame.moveTo(x, verticalPadding + (height - piece.frame.height()) / 2);
        x += piece.frame.width() + spacing;
    }
    return row;
}

QRectF SelectionBar::capsuleRect() const
{
    const QList<Piece> row = pieces();
    qreal height = 0;
    for (const Piece &piece : row)
        height = std::max(height, piece.frame.height());
    return {0, 0, row.last().frame.right() + trailingPadding, height + 2 * verticalPadding};
}

QSize SelectionBar::sizeHint() const
{
    const QRectF capsule = capsuleRect();
    return {int(std::ceil(capsule.width())), int(std::ceil(capsule.height() + bottomGap))};
}

QRectF SelectionBar::buttonFrame(Button button) const
{
    for (const Piece &piece : pieces())
        if (piece.button == button)
            return piece.frame;
    return {};
}

std::optional<SelectionBar::Button> SelectionBar::buttonAt(QPointF point) const
{
    for (const Piece &piece : pieces()) {
        if (!piece.button || !isButtonEnabled(*piece.button))
            continue;
        const bool inside = (*piece.button == Button::include || *piece.button == Button::exclude)
                                ? capsule(piece.frame).contains(point)
                                : piece.frame.contains(point);
        if (inside)
            return piece.button;
    }
    return std::nullopt;
}

void SelectionBar::trigger(Button button)
{
    const std::function<void()> *action = nullptr;
    switch (button) {
    case Button::clear:
        action = &m_inputs.onClear;
        break;
    case Button::include:
        action = &m_inputs.onInclude;
        break;
    case Button::exclude:
        action = &m_inputs.onExclude;
        break;
    case Button::done:
        action = &m_inputs.onDone;
        break;
    }
    if (action && *action)
        (*action)();
}

void SelectionBar::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton ? buttonAt(event->position()) : std::nullopt;
    update();
}

void SelectionBar::mouseReleaseEvent(QMouseEvent *event)
{
    const std::optional<Button> pressed = m_pressed;
    m_pressed.reset();
    update();
    if (pressed && event->button() == Qt::LeftButton && buttonAt(event->position()) == pressed)
        trigger(*pressed);
}

bool SelectionBar::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show)
        ensureShadow();
    return QWidget::event(event);
}

void SelectionBar::ensureShadow()
{
    if (m_shadow || !parentWidget())
        return;
    m_shadow = new ShadowUnderlay(this, [this] { return ShadowUnderlay::Cast{capsule(capsuleRect()), Shadows::large(), m_opacity}; });
}

void SelectionBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_opacity);
    const QRectF bar = capsuleRect();
    const QPainterPath outline = capsule(bar.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.fillPath(outline, Palette::surface());
    painter.setPen(QPen(Palette::line(), 1));
    painter.drawPath(outline);

    const bool hasSelection = m_inputs.count >= 1;
    for (const Piece &piece : pieces()) {
        painter.save();
        if (piece.button && piece.button == m_pressed)
            painter.setOpacity(m_opacity * pressedOpacity);
        if (!piece.button && piece.text.isEmpty()) {
            painter.fillRect(piece.frame.adjusted(dividerPadding, 0, -dividerPadding, 0), Palette::divider());
        } else if (!piece.button) {
            painter.setFont(statusFont(hasSelection));
            painter.setPen(hasSelection ? Palette::ink() : Palette::inkTertiary());
            painter.drawText(piece.frame, Qt::AlignCenter, piece.text);
        } else if (*piece.button == Button::clear) {
            painter.setFont(LookFont::system(12, QFont::DemiBold));
            painter.setPen(Palette::inkSecondary());
            painter.drawText(piece.frame, Qt::AlignCenter, piece.text);
        } else if (*piece.button == Button::include) {
            painter.setPen(QPen(hasSelection ? Palette::accent() : Palette::line(), 1));
            painter.drawPath(capsule(piece.frame.adjusted(0.5, 0.5, -0.5, -0.5)));
            painter.setFont(LookFont::system(13, QFont::DemiBold));
            painter.setPen(hasSelection ? Palette::accentDeep() : Palette::inkTertiary());
            painter.drawText(piece.frame, Qt::AlignCenter, piece.text);
        } else if (*piece.button == Button::exclude) {
            painter.fillPath(capsule(piece.frame), hasSelection ? Palette::accent() : Palette::background());
            painter.setFont(LookFont::system(13, QFont::DemiBold));
            painter.setPen(hasSelection ? QColor(Qt::white) : Palette::inkTertiary());
            painter.drawText(piece.frame, Qt::AlignCenter, piece.text);
        } else {
            painter.setFont(LookFont::system(13, QFont::DemiBold));
            painter.setPen(Palette::accentDeep());
            painter.drawText(piece.frame, Qt::AlignCenter, piece.text);
        }
        painter.restore();
    }
}

} // namespace pomelark
