#pragma once

#include <chrono>

namespace pomelark {

/// The monotonic clock every animation, timeline and hover delay of the look
/// reads. Tests hand in a `ManualAnimationClock` and step it by hand.
class AnimationClock {
public:
    virtual ~AnimationClock() = default;

    /// Time since an arbitrary origin; never goes backwards.
    virtual std::chrono::nanoseconds now() const = 0;

    /// The process-wide clock on the system's monotonic time.
    static AnimationClock &steady();
};

/// A clock that moves only when told to.
class ManualAnimationClock : public AnimationClock {
public:
    std::chrono::nanoseconds now() const override { return m_now; }

    /// Moves the clock forward; a negative step is ignored (the clock is monotonic).
    void advance(std::chrono::nanoseconds step)
    {
        if (step.count() > 0)
            m_now += step;
    }

private:
    std::chrono::nanoseconds m_now{std::chrono::seconds(1000)};
};

/// Seconds between two clock readings, as the animation maths wants them.
inline double secondsBetween(std::chrono::nanoseconds from, std::chrono::nanoseconds to)
{
    return std::chrono::duration<double>(to - from).count();
}

} // namespace pomelark
