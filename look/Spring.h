#pragma once

namespace pomelark {

/// A damped spring described the way designers tune it: `response` is the
/// period in seconds the spring would swing with no damping, `dampingFraction`
/// is 1 for critical damping, below 1 for a bounce. Mass 1.
struct Spring {
    double response = 0.5;
    double dampingFraction = 0.7;
    double blendDuration = 0.0;

    /// Where a spring released at `displacement` (from its rest point) with
    /// `velocity` stands after `t` seconds, as a displacement from rest.
    double displacementAt(double t, double displacement, double velocity) const;

    /// Its velocity at `t` under the same start.
    double velocityAt(double t, double displacement, double velocity) const;

    /// Whether it has come to rest by `t`: within a thousandth of its starting
    /// span (displacement, or the distance its speed would carry it) and barely moving.
    bool isSettledAt(double t, double displacement, double velocity) const;

    double angularFrequency() const;
};

/// The shared animation token: the one spring every screen uses.
namespace Animations {
const Spring &spring();
} // namespace Animations

} // namespace pomelark
