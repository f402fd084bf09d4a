#pragma once

#include "look/AnimationClock.h"
#include "look/FrameTicker.h"

#include <chrono>

namespace pomelark::test {

/// A hand-stepped clock and the ticker on it: time moves only when a test says,
/// one frame at a time, as the frame timer would move it.
struct SteppedTime {
    ManualAnimationClock clock;
    FrameTicker ticker{clock};

    /// Moves time forward by `span` in frames of at most 16 ms, ticking after each.
    void step(std::chrono::nanoseconds span)
    {
        constexpr std::chrono::nanoseconds frame = std::chrono::milliseconds(16);
        while (span.count() > 0) {
            const auto move = span < frame ? span : frame;
            clock.advance(move);
            ticker.tick();
            span -= move;
        }
    }
};

} // namespace pomelark::test
