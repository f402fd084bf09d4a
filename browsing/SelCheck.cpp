#include "browsing/SelCheck.h"

#include "look/Palette.h"
#include "look/ShadowPainter.h"
#include "look/Shadows.h"
#include "look/SymbolIcons.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace pomelark {

namespace {

// Room around the disc for its small shadow, so a check placed on its own
// does not cut its shadow off.
constexpr int shadowMargin = 4;

} // namespace

SelCheck::SelCheck(bool isSelected, std::function<void()> action, QWidget *parent)
    : QAbstractButton(parent), m_isSelected(isSelected)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setToolTip(helpText(m_isSelected));
    if (action)
        connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
}

void SelCheck::setSelected(bool selected)
{
    if (selected == m_isSelected)
        return;
    m_isSelected = selected;
    setToolTip(helpText(m_isSelected));
    update();
}

QString SelCheck::helpText(bool isSelected)
{
    return isSelected ? tr("Deselect") : tr("Select");
}

QSize SelCheck::sizeHint() const
{
    const int length = int(side) + 2 * shadowMargin;
    return {length, length};
}

void SelCheck::paint(QPainter &painter, const QRectF &frame, bool isSelected)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath disc;
    disc.addEllipse(frame);
    ShadowPainter::draw(painter, disc, Shadows::small());
    painter.fillPath(disc, isSelected ? Palette::accent() : QColor(255, 255, 255, int(std::lround(0.92 * 255))));
    if (isSelected) {
        SymbolIcons::paint(painter, QStringLiteral("checkmark"), frame, 11, SymbolWeight::Bold, Qt::white);
    } else {
        // Stroked along the outline, half of it outside the disc.
        QPen ring(Palette::inkTertiary(), 1.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        painter.setPen(ring);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(frame);
    }
    painter.restore();
}

void SelCheck::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF frame((width() - side) / 2, (height() - side) / 2, side, side);
    paint(painter, frame, m_isSelected);
}

} // namespace pomelark
