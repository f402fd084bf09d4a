#include "look/PeekNodSnipMotion.h"

#include "look/MotionFrame.h"

#include <cmath>
#include <numbers>

namespace pomelark {

namespace {

constexpr double pi = std::numbers::pi;

} // namespace

PeekFrame peekFrame(double t, qreal px)
{
    const double p = loopMilliseconds(t, 2.5) / 2500.0;
    const double c = std::cos(2 * pi * p);
    const double e = (1 - c) / 2;
    return {-3 * c, px * (8 * e - 4), 4 - 9 * e - px, 14 * e - 8, (p > 0.42 && p < 0.66) ? 1.0 : 0.0};
}

BadgeFrame nodBadge(double t, double delay)
{
    double q = std::fmod(t - delay, 2.2) / 2.2;
    if (q < 0)
        q = 0;
    double opacity = 0;
    if (t >= delay) {
        if (q < 0.22)
            opacity = q / 0.22;
        else if (q > 0.78)
            opacity = (1 - q) / 0.22;
        else
            opacity = 1;
    }
    return {std::max(0.0, opacity), 0.7 + 0.3 * q, 8 - 30 * q};
}

NodFrame nodFrame(double t)
{
    const double ms = loopMilliseconds(t, 2.2);
    NodFrame f;
    // Two nods of 600 ms, each down in 300 ms and up in 300 ms, then still.
    if (ms < 1200) {
        const double phase = std::fmod(ms, 600.0);
        const bool down = phase < 300;
        const double e = smoothstep((down ? phase : phase - 300) / 300);
        const double depth = down ? e : 1 - e;
        f.n = 9 * depth;
        f.v = 3 * depth;
    }
    f.badges = {nodBadge(t, 0), nodBadge(t, 1.1)};
    return f;
}

SnipFrame snipFrame(double t)
{
    const double ms = loopMilliseconds(t, 1.6);
    SnipFrame f;
    f.o = std::abs(std::sin(0.013 * ms));
    const qreal xs[2] = {-3, 4};
    for (int k = 0; k < 2; ++k) {
        const double local = std::fmod(ms - 800 * k, 1600);
        SnippetFrame &s = f.snippets[size_t(k)];
        s.x = xs[k];
        if (local >= 0 && local < 700) {
            const double q = local / 700;
            s.opacity = 0.85 * (1 - q);
            s.spin = 200 * q;
            s.fall = 22 * q;
        }
    }
    return f;
}

} // namespace pomelark
