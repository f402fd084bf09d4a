#include "look/Animation.h"

namespace pomelark {

double Animation::valueAt(double t, double from, double to, double velocity) const
{
    const double elapsed = t - m_delay;
    if (elapsed <= 0.0)
        return from;
    if (const auto *timed = std::get_if<Timed>(&m_motion)) {
        if (timed->seconds <= 0.0 || elapsed >= timed->seconds)
            return to;
        return from + (to - from) * timed->curve.valueAt(elapsed / timed->seconds);
    }
    const Spring &spring = std::get<Spring>(m_motion);
    if (spring.isSettledAt(elapsed, from - to, velocity))
        return to;
    return to + spring.displacementAt(elapsed, from - to, velocity);
}

bool Animation::isFinishedAt(double t, double from, double to, double velocity) const
{
    const double elapsed = t - m_delay;
    if (elapsed < 0.0)
        return false;
    if (const auto *timed = std::get_if<Timed>(&m_motion))
        return elapsed >= timed->seconds;
    return std::get<Spring>(m_motion).isSettledAt(elapsed, from - to, velocity);
}

} // namespace pomelark
