#include "tidy_send/BestTag.h"

#include "look/CapsuleLabel.h"
#include "look/LookFont.h"
#include "look/Palette.h"

#include <QCoreApplication>
#include <QPainter>

namespace pomelark {

namespace {

CapsuleLabel tagLabel()
{
    return {BestTag::text(), LookFont::system(9, QFont::Bold), Palette::accent(), 6, 2};
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
    return tagLabel().size();
}

QSize BestTag::sizeHint() const
{
    return tagLabel().widgetSize();
}

void BestTag::paint(QPainter &painter, QPointF topLeft)
{
    tagLabel().paint(painter, topLeft);
}

void BestTag::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, QPointF(0, 0));
}

} // namespace pomelark
