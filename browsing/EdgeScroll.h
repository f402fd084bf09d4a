#pragma once

namespace pomelark {

/// How the grid scrolls by itself while a marquee is dragged near its top or
/// bottom edge: inside a 70 px band the speed grows linearly from 0 at the
/// band's inner border to 14 px per 16 ms tick at the edge, and stays at 14
/// beyond it. Only the vertical position ever changes.
class EdgeScroll {
public:
    static constexpr double band = 70;
    static constexpr double maxSpeed = 14;
    static constexpr int tickMilliseconds = 16;

    /// Pixels per tick, positive downwards, for a pointer `t` px below the top
    /// edge of a viewport `height` px high (negative above it, beyond `height`
    /// below it). The bottom band wins when the viewport is too short for both.
    static double speed(double t, double height);

    /// The scroll position after one tick at `speed`, kept within 0 and the
    /// document's last page.
    static double nextOffset(double offset, double speed, double documentHeight, double viewportHeight);
};

} // namespace pomelark
