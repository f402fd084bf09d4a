#pragma once

#include "look/Spring.h"
#include "look/TimingCurve.h"

#include <variant>

namespace pomelark {

/// How a value moves to a new target: along a timing curve for a fixed time, or
/// on a spring until it comes to rest; either may wait a delay first.
class Animation {
public:
    static Animation curve(TimingCurve curve, double seconds) { return Animation(Timed{curve, seconds}); }
    static Animation linear(double seconds) { return curve(TimingCurve::linear(), seconds); }
    static Animation easeIn(double seconds) { return curve(TimingCurve::easeIn(), seconds); }
    static Animation easeOut(double seconds) { return curve(TimingCurve::easeOut(), seconds); }
    static Animation easeInOut(double seconds) { return curve(TimingCurve::easeInOut(), seconds); }
    static Animation spring(const Spring &spring = Animations::spring()) { return Animation(spring); }

    /// The same animation starting `seconds` later; the value holds still meanwhile.
    Animation delayed(double seconds) const
    {
        Animation copy = *this;
        copy.m_delay += seconds > 0 ? seconds : 0;
        return copy;
    }

    double delay() const { return m_delay; }
    bool isSpring() const { return std::holds_alternative<Spring>(m_motion); }

    /// The value `t` seconds after the animation started (delay included) while
    /// moving from `from` to `to` with initial `velocity` (units per second; only
    /// springs carry it).
    double valueAt(double t, double from, double to, double velocity) const;

    /// Whether the value has arrived at `to` by `t` and stays there.
    bool isFinishedAt(double t, double from, double to, double velocity) const;

private:
    struct Timed {
        TimingCurve curve;
        double seconds;
    };
    explicit Animation(std::variant<Timed, Spring> motion) : m_motion(motion) {}

    std::variant<Timed, Spring> m_motion;
    double m_delay = 0;
};

} // namespace pomelark
