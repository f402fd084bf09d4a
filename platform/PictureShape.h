#pragma once

#include <QSize>

namespace pomelark {

/// How a video track's stored frames are meant to be seen: each pixel stretched
/// to its own shape (the sample aspect ratio), then the picture turned as the
/// track's display matrix says. Phones store portrait video as landscape
/// frames and a turn; some cameras store 4:3 video in narrow pixels.
struct PictureShape {
    int clockwiseTurn = 0;    ///< 0, 90, 180 or 270 degrees
    double pixelAspect = 1.0; ///< a stored pixel's width over its height

    bool operator==(const PictureShape &) const = default;

    bool turnsSideways() const { return clockwiseTurn == 90 || clockwiseTurn == 270; }

    /// The size a frame of `stored` pixels is seen at: as many rows as stored,
    /// as wide as its pixels make them, then turned. Empty stays empty.
    QSize shownSize(QSize stored) const
    {
        if (stored.isEmpty())
            return stored;
        const QSize stretched(qMax(1, qRound(stored.width() * pixelAspect)), stored.height());
        return turnsSideways() ? stretched.transposed() : stretched;
    }
};

} // namespace pomelark
