#include "browsing/GridTile.h"

#include "browsing/ExcludedBadge.h"
#include "browsing/SelCheck.h"
#include "look/ContinuousShape.h"
#include "look/Palette.h"
#include "look/ShadowPainter.h"
#include "look/Shadows.h"

#include <QPainter>

namespace pomelark {

namespace {

constexpr double markSeconds = 0.15;
constexpr qreal dimmedOpacity = 0.7;
constexpr qreal hoverLift = -2;
constexpr qreal borderWidth = 2.5;

} // namespace

GridTile::GridTile(Flags flags, std::function<void()> onActivate, std::function<void()> onToggleSelect,
                   QObject *parent, FrameTicker &ticker)
    : QObject(parent), m_ticker(ticker), m_flags(flags), m_onActivate(std::move(onActivate)),
      m_onToggleSelect(std::move(onToggleSelect)), m_hover(0, ticker), m_dim(1, ticker), m_badge(0, ticker),
      m_border(0, ticker), m_shadow(0, ticker), m_lift(0, ticker), m_check(0, ticker)
{
    for (AnimatedValue *value : {&m_hover, &m_dim, &m_badge, &m_border, &m_shadow, &m_lift, &m_check})
        value->setOnChange([this] { Q_EMIT changed(); });
    updateTargets(false);
}

GridTile::~GridTile() = default;

void GridTile::setFlags(Flags flags)
{
    if (flags.isExcluded == m_flags.isExcluded && flags.isSelected == m_flags.isSelected
        && flags.selectMode == m_flags.selectMode)
        return;
    m_flags = flags;
    updateTargets(true);
    Q_EMIT changed();
}

void GridTile::setHover(bool hover)
{
    if (hover == m_isHover)
        return;
    m_isHover = hover;
    updateTargets(true);
}

void GridTile::updateTargets(bool animated)
{
    const bool raised = m_isHover && !m_flags.isExcluded;
    const auto move = [animated](AnimatedValue &value, double target) {
        if (animated)
            value.animateTo(target, Animation::easeOut(markSeconds));
        else
            value.setValue(target);
    };
    move(m_hover, m_isHover ? 1 : 0);
    move(m_dim, m_flags.isExcluded ? dimmedOpacity : 1);
    move(m_badge, m_flags.isExcluded ? 1 : 0);
    move(m_border, m_flags.isSelected ? 1 : 0);
    move(m_shadow, raised ? 1 : 0);
    move(m_lift, raised && !m_flags.isSelected ? hoverLift : 0);
    move(m_check, m_flags.isSelected || m_isHover ? 1 : 0);
}

bool GridTile::showsCheck() const
{
    return m_flags.selectMode && m_onToggleSelect;
}

bool GridTile::checkTakesClicks() const
{
    return showsCheck() && (m_flags.isSelected || m_isHover);
}

QRectF GridTile::checkFrame()
{
    return {markPadding, markPadding, SelCheck::side, SelCheck::side};
}

bool GridTile::click(QPointF point)
{
    if (checkTakesClicks() && checkFrame().contains(point)) {
        m_onToggleSelect();
        return true;
    }
    if (!m_onActivate)
        return false;
    activate();
    return true;
}

void GridTile::activate()
{
    callActivate();
}

void GridTile::callActivate()
{
    if (m_onActivate)
        m_onActivate();
}

QString GridTile::helpAt(QPointF point) const
{
    if (checkTakesClicks() && checkFrame().contains(point))
        return SelCheck::helpText(m_flags.isSelected);
    return {};
}

void GridTile::paint(QPainter &painter)
{
    const QRectF tile(0, 0, side, side);
    const QPainterPath rounded = continuousRoundedRect(tile, cornerRadius);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(0, m_lift.value());

    // The small shadow gives way to the medium one as the tile rises.
    const qreal shadowMix = m_shadow.value();
    if (shadowMix < 1) {
        painter.setOpacity(1 - shadowMix);
        ShadowPainter::draw(painter, rounded, Shadows::small());
    }
    if (shadowMix > 0) {
        painter.setOpacity(shadowMix);
        ShadowPainter::draw(painter, rounded, Shadows::medium());
    }

    painter.save();
    painter.setOpacity(m_dim.value());
    painter.setClipPath(rounded);
    paintContent(painter, tile);
    painter.restore();

    if (const qreal badge = m_badge.value(); badge > 0) {
        painter.setOpacity(badge);
        ExcludedBadge::paint(painter, QPointF(side - markPadding - ExcludedBadge::paintedSize().width(), markPadding));
    }
    if (const qreal border = m_border.value(); border > 0) {
        // Stroked inside the square: the path is inset by half the line.
        const qreal inset = borderWidth / 2;
        painter.setOpacity(border);
        painter.setPen(QPen(Palette::accent(), borderWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(continuousRoundedRect(tile.adjusted(inset, inset, -inset, -inset), cornerRadius - inset));
    }
    painter.restore();

    // The check stays where the tile rests while the picture rises.
    if (showsCheck() && m_check.value() > 0) {
        painter.save();
        painter.setOpacity(m_check.value());
        SelCheck::paint(painter, checkFrame(), m_flags.isSelected);
        painter.restore();
    }
}

} // namespace pomelark
