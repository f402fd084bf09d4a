#include "tidy_send/BestTag.h"

#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/Palette.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace pomelark {

namespace {

constexpr qreal paddingX = 6;
constexpr qreal paddingY = 2;

QFont tagFont()
{
    return LookFont::system(9, QFont::Bold);
}

} // namespace

BestTag::BestTag(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QString BestTag::text()
{
    return QCoreApplication::translate("BestTag", "Best");
}

QSizeF BestTag::paintedSize()
{
    const QFontMetricsF metrics(tagFont());
    return {metrics.horizontalAdvance(text()) + 2 * paddingX, metrics.height() + 2 * paddingY};
}

QSize BestTag::sizeHint() const
{
    const QSizeF size = paintedSize();
    return {int(std::ceil(size.width())), int(std::ceil(size.height()))};
}

void BestTag::paint(QPainter &painter, QPointF topLeft)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(topLeft, paintedSize());
    painter.fillPath(capsule(box), Palette::accent());
    painter.setFont(tagFont());
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, text());
    painter.restore();
}

void BestTag::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, QPointF(0, 0));
}

} // namespace pomelark
