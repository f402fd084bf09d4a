#include "browsing/ExcludedBadge.h"

#include "look/CapsuleLabel.h"
#include "look/LookFont.h"
#include "look/Palette.h"

#include <QCoreApplication>
#include <QPainter>

namespace pomelark {

namespace {

CapsuleLabel badgeLabel()
{
    QColor fill = Palette::ink();
    fill.setAlphaF(0.62);
    return {QCoreApplication::translate("ExcludedBadge", "Excluded"), LookFont::system(10, QFont::DemiBold), fill, 7,
            3};
}

} // namespace

ExcludedBadge::ExcludedBadge(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QString ExcludedBadge::text() const
{
    return badgeLabel().text;
}

QSizeF ExcludedBadge::paintedSize()
{
    return badgeLabel().size();
}

QSize ExcludedBadge::sizeHint() const
{
    return badgeLabel().widgetSize();
}

void ExcludedBadge::paint(QPainter &painter, QPointF topLeft)
{
    badgeLabel().paint(painter, topLeft);
}

void ExcludedBadge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, QPointF(0, 0));
}

} // namespace pomelark
