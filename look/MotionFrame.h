#pragma once

#include "look/PixelPalette.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace pomelark {

/// One accessory sprite of a motion frame, placed relative to the centre of the
/// character's unmoved frame.
struct AccessoryFrame {
    int id = 0;           ///< stable within its motion: 0, 1, 2… in listing order
    QStringList sprite;   ///< rows in the sprite letter code
    qreal pixel = 1;      ///< points per sprite pixel
    double opacity = 1;   ///< 0…1
    qreal x = 0;          ///< centre offset, points, right positive
    qreal y = 0;          ///< centre offset, points, down positive
    qreal scale = 1;      ///< about the sprite's centre
    double rotation = 0;  ///< degrees clockwise about the sprite's centre
};

/// One pose of a motion at one instant.
struct MotionFrame {
    QString expr = QStringLiteral("happy");
    qreal sx = 1;
    qreal sy = 1;
    qreal tx = 0;         ///< points, right positive
    qreal ty = 0;         ///< points, down positive
    double rot = 0;       ///< degrees clockwise about the bottom centre
    qreal shadowScaleX = 1;
    double shadowOpacity = 0.16;
    qreal headroom = 7;   ///< extra height above the character, in mascot pixels
    std::vector<AccessoryFrame> accessories;  ///< in drawing order, later on top
};

/// The mascot's colouring named `name`; lavender for a name it does not have.
const PixelPalette &paletteNamed(const QString &name);

/// p²·(3 − 2p), for p in 0…1.
inline double smoothstep(double p)
{
    return p * p * (3.0 - 2.0 * p);
}

/// Where `t` seconds fall in a loop of `period` seconds, in milliseconds, within
/// [0, period·1000] (the end only by rounding). Elapsed time comes from a monotonic clock and so is
/// never negative; a negative `t` is wrapped into the loop all the same rather
/// than fall before every phase.
double loopMilliseconds(double t, double period);

} // namespace pomelark
