#include "look/AnimationClock.h"

namespace pomelark {

namespace {

class SteadyAnimationClock : public AnimationClock {
public:
    std::chrono::nanoseconds now() const override
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
};

} // namespace

AnimationClock &AnimationClock::steady()
{
    static SteadyAnimationClock clock;
    return clock;
}

} // namespace pomelark
