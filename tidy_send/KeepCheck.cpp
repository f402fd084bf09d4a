#include "tidy_send/KeepCheck.h"

#include "look/Color.h"
#include "look/Palette.h"
#include "look/SymbolIcons.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace pomelark {

namespace {

constexpr qreal ringWidth = 1.5;

QColor excludedFill()
{
    return withOpacity(Qt::white, 0.92);
}

} // namespace

KeepCheck::KeepCheck(bool kept, std::function<void()> action, qreal size, QWidget *parent, FrameTicker &ticker)
    : QAbstractButton(parent), m_kept(kept), m_size(size), m_keptProgress(kept ? 1.0 : 0.0, ticker)
{
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setToolTip(helpText());
    setAccessibleName(helpText());
    m_keptProgress.setOnChange([this] {
        update();
        if (m_shadow)
            m_shadow->refresh();
    });
    if (action)
        connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
    ensureShadow();
}

QString KeepCheck::helpText() const
{
    return m_kept ? tr("Exclude") : tr("Keep");
}

void KeepCheck::setKept(bool kept, bool animated)
{
    if (kept == m_kept)
        return;
    m_kept = kept;
    if (animated)
        m_keptProgress.animateTo(kept ? 1.0 : 0.0, Animation::easeOut(changeSeconds));
    else
        m_keptProgress.setValue(kept ? 1.0 : 0.0);
    setToolTip(helpText());
    setAccessibleName(helpText());
    update();
}

QColor KeepCheck::fillColor() const
{
    return mixColors(excludedFill(), Palette::accent(), keptProgress());
}

QColor KeepCheck::ringColor() const
{
    return mixColors(Palette::inkTertiary(), Qt::transparent, keptProgress());
}

QSize KeepCheck::sizeHint() const
{
    const int side = int(std::ceil(m_size)) + 2 * bleed;
    return {side, side};
}

QRectF KeepCheck::discRect() const
{
    return {(width() - m_size) / 2, (height() - m_size) / 2, m_size, m_size};
}

void KeepCheck::ensureShadow()
{
    if (m_shadow || !parentWidget())
        return;
    m_shadow = new ShadowUnderlay(this, [this] {
        QPainterPath disc;
        disc.addEllipse(discRect());
        return ShadowUnderlay::Cast{disc, Shadows::small(), 1.0};
    });
}

bool KeepCheck::event(QEvent *event)
{
    // Checks are often made first and placed into their card afterwards.
    if (event->type() == QEvent::ParentChange)
        ensureShadow();
    return QAbstractButton::event(event);
}

void KeepCheck::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF disc = discRect();
    painter.setPen(Qt::NoPen);
    painter.setBrush(fillColor());
    painter.drawEllipse(disc);
    // The ring is stroked along the outline, half of it outside the disc.
    const QColor ring = ringColor();
    if (ring.alpha() > 0) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ring, ringWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        painter.drawEllipse(disc);
    }
    const qreal tick = keptProgress();
    if (tick > 0) {
        painter.setOpacity(tick);
        SymbolIcons::paint(painter, QStringLiteral("checkmark"), disc, tickSize(), SymbolWeight::Bold, Qt::white);
    }
}

} // namespace pomelark
