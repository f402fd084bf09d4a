// Renders a strip of frames of every mascot motion into PNG files under the
// build folder (look-gallery/motions/), for a person to look at: twelve frames
// across one loop, each with the widget's bounds in a faint line and the
// motion's time below it.
#include "support/GalleryPictures.h"

#include "look/LookFont.h"
#include "look/MotionPainter.h"
#include "look/Palette.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace pomelark;

namespace {

double loopSeconds(TuppoMotionKind kind)
{
    switch (kind) {
    case TuppoMotionKind::Hop: return 2.3;
    case TuppoMotionKind::Wiggle: return 7.34;
    case TuppoMotionKind::Peek: return 2.5;
    case TuppoMotionKind::Hum: return 2.6;
    case TuppoMotionKind::Blow: return 2.8;
    case TuppoMotionKind::Stamp: return 2.0;
    case TuppoMotionKind::Stretch: return 2.9;
    case TuppoMotionKind::Snip: return 1.6;
    case TuppoMotionKind::Search: return 3.4;
    case TuppoMotionKind::Nod: return 2.2;
    case TuppoMotionKind::Doze: return 3.4;
    case TuppoMotionKind::Aww: return 1.8;
    }
    return 1;
}

} // namespace

TEST(MotionGallery, AStripOfEveryMotion)
{
    constexpr qreal px = 4;
    constexpr qreal ratio = 2;
    constexpr int frames = 12;
    for (TuppoMotionKind kind : allMotionKinds()) {
        const QMarginsF bleed = MotionPainter::bleed(kind, px);
        const QSizeF frame = MotionPainter::frameSize(kind, px);
        const QSizeF cell(frame.width() + bleed.left() + bleed.right(),
                          frame.height() + bleed.top() + bleed.bottom() + 14);
        QImage strip((QSizeF(cell.width() * frames, cell.height()) * ratio).toSize(), QImage::Format_ARGB32);
        strip.setDevicePixelRatio(ratio);
        strip.fill(Palette::background());
        QPainter painter(&strip);
        painter.setFont(LookFont::system(9));
        // Hum's notes start late: show its second loop, once all are under way.
        const double start = kind == TuppoMotionKind::Hum ? 2.6 : 0;
        for (int i = 0; i < frames; ++i) {
            const double t = start + loopSeconds(kind) * i / frames;
            const QPointF origin(cell.width() * i, 0);
            painter.setPen(QPen(Palette::line(), 1));
            painter.drawRect(QRectF(origin, QSizeF(cell.width(), cell.height() - 14)).adjusted(0.5, 0.5, -0.5, -0.5));
            painter.save();
            painter.translate(origin + QPointF(bleed.left(), bleed.top()));
            MotionPainter::paint(painter, QRectF(QPointF(), frame), kind, t, paletteNamed(u"lavender"_qs), px);
            painter.restore();
            painter.setPen(Palette::inkSecondary());
            painter.drawText(QRectF(origin.x(), cell.height() - 14, cell.width(), 14), Qt::AlignCenter,
                             QString::number(t, 'f', 2) + u" s");
        }
        painter.end();
        const QString path = test::galleryPath(u"motions/motion-"_qs + rawValue(kind) + u".png");
        ASSERT_TRUE(strip.save(path)) << path.toStdString();
    }
}
