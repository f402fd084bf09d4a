#pragma once

#include "look/MotionFrame.h"

namespace pomelark {

/// The mascot motions drawn as a plain `MotionFrame`: each a pure function of
/// the seconds `t` since the motion started and the mascot's pixel size `px`.
/// Loops: hum 2.6 s (body sway 2 s), blow 2.8 s, stamp 2.0 s, stretch 2.9 s,
/// doze 3.4 s, aww 1.8 s, search 3.4 s.
namespace Motions {
MotionFrame hum(double t, qreal px);
MotionFrame blow(double t, qreal px);
MotionFrame stamp(double t, qreal px);
MotionFrame stretch(double t, qreal px);
MotionFrame doze(double t, qreal px);
MotionFrame aww(double t, qreal px);

/// Looking left (d = −1) and right (d = +1) in steps.
struct SearchFrame {
    int d = 0;
    MotionFrame frame;  ///< the pose of the step itself, not eased
};
SearchFrame search(double t, qreal px);

/// The search pose as shown: each step of `d` eases in and out over 0.35 s from
/// the old value to the new one, as a function of time.
MotionFrame searchShown(double t, qreal px);
} // namespace Motions

} // namespace pomelark
