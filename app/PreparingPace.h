#pragma once

#include "services/PlaybackPrewarmer.h"

#include <chrono>

namespace pomelark {

/// The timing rules of the preparing screen's wait before the grid: at least
/// 2 s, then until every video's playable copy is ready or failed, but no longer
/// than 5 s; then to the end of the running 1.4 s caption cycle and a 1.4 s
/// finale. Times are measured from the moment the session started preparing.
struct PreparingPace {
    static constexpr std::chrono::nanoseconds minimum = std::chrono::seconds(2);
    static constexpr std::chrono::nanoseconds cap = std::chrono::seconds(5);
    static constexpr std::chrono::nanoseconds poll = std::chrono::milliseconds(100);
    static constexpr std::chrono::nanoseconds captionCycle = std::chrono::milliseconds(1400);
    static constexpr std::chrono::nanoseconds finale = std::chrono::milliseconds(1400);
    /// A cycle ending sooner than this is taken as ended.
    static constexpr std::chrono::nanoseconds closeEnough = std::chrono::milliseconds(50);

    /// Whether the wait may end after `elapsed`.
    static bool waitIsOver(std::chrono::nanoseconds elapsed, bool hasVideos, bool videosSettled);

    /// Every video ready or failed; an empty table counts as settled.
    static bool settled(const PlaybackPrewarmer::States &states);

    /// How long until the caption cycle running at `elapsed` ends; zero when it
    /// ends within `closeEnough` (or `elapsed` lies on a cycle boundary).
    static std::chrono::nanoseconds untilCaptionBoundary(std::chrono::nanoseconds elapsed);
};

} // namespace pomelark
