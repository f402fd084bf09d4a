#pragma once

#include <QString>

namespace pomelark {

/// One pose of the hop: a breathing idle, a crouch, a 58-point jump and a
/// squashy landing on a 2.3 s loop.
struct HopState {
    qreal offsetY = 0;  ///< points, negative is up
    qreal scaleX = 1;
    qreal scaleY = 1;
    QString expression;
    qreal shadowScaleX = 1;
    double shadowOpacity = 0.18;
};

/// The hop's pose `t` seconds into the motion.
HopState hopState(double t);

/// One pose of the wiggle: a face from its timetable and a gentle sway.
struct WiggleFrame {
    QString expression;
    qreal sway = 0;     ///< horizontal offset, points
    double angle = 0;   ///< degrees clockwise about the bottom centre
};

/// The wiggle's pose `t` seconds into the motion. The sway runs on unreduced
/// time, so it drifts against the 7.34 s face loop.
WiggleFrame wiggleFrame(double t);

/// The wiggle's face loop, in milliseconds.
int wiggleLoopMilliseconds();

} // namespace pomelark
