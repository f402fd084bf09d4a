#include "browsing/ExcludedBadge.h"

#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/Palette.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace pomelark {

namespace {

constexpr qreal paddingX = 7;
constexpr qreal paddingY = 3;

QFont badgeFont()
{
    return LookFont::system(10, QFont::DemiBold);
}

QString badgeText()
{
    return QCoreApplication::translate("ExcludedBadge", "Excluded");
}

} // namespace

ExcludedBadge::ExcludedBadge(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QString ExcludedBadge::text() const
{
    return badgeText();
}

QSizeF ExcludedBadge::paintedSize()
{
    const QFontMetricsF metrics(badgeFont());
    return {metrics.horizontalAdvance(badgeText()) + 2 * paddingX, metrics.height() + 2 * paddingY};
}

QSize ExcludedBadge::sizeHint() const
{
    const QSizeF size = paintedSize();
    return {int(std::ceil(size.width())), int(std::ceil(size.height()))};
}

void ExcludedBadge::paint(QPainter &painter, QPointF topLeft)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(topLeft, paintedSize());
    QColor fill = Palette::ink();
    fill.setAlphaF(0.62);
    painter.fillPath(capsule(box), fill);
    painter.setFont(badgeFont());
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, badgeText());
    painter.restore();
}

void ExcludedBadge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, QPointF(0, 0));
}

} // namespace pomelark
