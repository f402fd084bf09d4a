#pragma once

#include "look/HopWiggleMotion.h"
#include "look/MotionFrame.h"
#include "look/PeekNodSnipMotion.h"
#include "look/TuppoMotionKind.h"

#include <QMarginsF>
#include <QRectF>

class QPainter;

namespace pomelark {

/// Lays out and draws one frame of a mascot motion into a layout frame (in the
/// painter's coordinates). The motions' maths lives in their own functions;
/// this only places and paints. Lengths scale with `px`, the mascot's pixel size.
///
/// Much of a motion is drawn outside its layout frame (the hop's lift, rising
/// notes and hearts, the ground shadow's blur): `bleed` says how far, so a
/// widget can give it the room.
class MotionPainter {
public:
    /// The layout frame of a motion: hop 18 × 22, wiggle 16 × 14, peek, nod and
    /// snip 22 × 21, the others 22 × (headroom + 14) mascot pixels.
    static QSizeF frameSize(TuppoMotionKind kind, qreal px);
    /// How far drawing may reach beyond the layout frame on each side.
    static QMarginsF bleed(TuppoMotionKind kind, qreal px);

    /// Draws `kind` at `t` seconds into the motion. `showLens` is honoured by
    /// hop and wiggle; the other motions always show the lens.
    static void paint(QPainter &painter, const QRectF &frame, TuppoMotionKind kind, double t,
                      const PixelPalette &palette, qreal px, bool showLens = true);

    static void paintBody(QPainter &painter, const QRectF &frame, const MotionFrame &pose,
                          const PixelPalette &palette, qreal px);
    static void paintHop(QPainter &painter, const QRectF &frame, const HopState &pose, const PixelPalette &palette,
                         qreal px, bool showLens);
    static void paintWiggle(QPainter &painter, const QRectF &frame, const WiggleFrame &pose,
                            const PixelPalette &palette, qreal px, bool showLens);
    static void paintPeek(QPainter &painter, const QRectF &frame, const PeekFrame &pose,
                          const PixelPalette &palette, qreal px);
    static void paintNod(QPainter &painter, const QRectF &frame, const NodFrame &pose, const PixelPalette &palette,
                         qreal px);
    static void paintSnip(QPainter &painter, const QRectF &frame, const SnipFrame &pose,
                          const PixelPalette &palette, qreal px);

    /// The ink ellipse under the mascot, `size` before its horizontal scale,
    /// blurred by 2 points.
    static void paintGroundShadow(QPainter &painter, const QPointF &centre, const QSizeF &size, qreal scaleX,
                                  double opacity);
};

} // namespace pomelark
