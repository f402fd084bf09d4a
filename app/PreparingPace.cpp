#include "app/PreparingPace.h"

#include <algorithm>

namespace pomelark {

bool PreparingPace::waitIsOver(std::chrono::nanoseconds elapsed, bool hasVideos, bool videosSettled)
{
    return elapsed >= minimum && (!hasVideos || videosSettled || elapsed >= cap);
}

bool PreparingPace::settled(const PlaybackPrewarmer::States &states)
{
    return std::all_of(states.cbegin(), states.cend(), [](PlaybackPrewarmer::State state) {
        return state == PlaybackPrewarmer::State::ready || state == PlaybackPrewarmer::State::failed;
    });
}

std::chrono::nanoseconds PreparingPace::untilCaptionBoundary(std::chrono::nanoseconds elapsed)
{
    // Whole nanoseconds, so a moment on a boundary is on it, not a rounding
    // error short of it (which would cost a whole extra cycle).
    if (elapsed.count() < 0)
        elapsed = {};
    const std::chrono::nanoseconds remainder = (captionCycle - elapsed % captionCycle) % captionCycle;
    return remainder > closeEnough ? remainder : std::chrono::nanoseconds{0};
}

} // namespace pomelark
