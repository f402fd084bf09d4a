#include "look/OtherMotions.h"

#include "look/MotionSprites.h"
#include "look/TimingCurve.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace pomelark::Motions {

namespace {

constexpr double pi = std::numbers::pi;

QString face(const char16_t *name)
{
    return QString::fromUtf16(name);
}

// Fades in over the first 18 % of a rising note's loop and out over the last 20 %.
double noteOpacity(double t, double delay, double p)
{
    if (t < delay)
        return 0;
    double opacity = 1;
    if (p < 0.18)
        opacity = p / 0.18;
    else if (p > 0.8)
        opacity = (1 - p) / 0.2;
    return std::max(0.0, opacity);
}

// A sprite that rises once per loop within [start, start + length) ms of it;
// q runs 0…1 over that window and is 0 outside it.
struct Window {
    double q = 0;
    bool inside = false;
};

Window windowAt(double local, double length)
{
    if (local >= 0 && local < length)
        return {local / length, true};
    return {};
}

} // namespace

MotionFrame hum(double t, qreal px)
{
    MotionFrame f;
    f.expr = face(u"uwu");
    const double theta = 2 * pi * (loopMilliseconds(t, 2.0) / 2000.0);
    f.sy = 1.02 + 0.03 * std::cos(theta);
    f.tx = 3 * std::sin(theta);
    f.rot = 2.5 * std::sin(theta);
    const std::array<double, 3> delays{0, 0.9, 1.7};
    for (int k = 0; k < 3; ++k) {
        const double d = delays[size_t(k)];
        double p = std::fmod(t - d, 2.6) / 2.6;
        if (p < 0)
            p = 0;
        f.accessories.push_back({k, MotionSprites::note(), 0.7 * px, noteOpacity(t, d, p), 2 * px + (p - 0.5) * 10,
                                 6 - 46 * p - px, 1, 18 * p - 8});
    }
    return f;
}

MotionFrame blow(double t, qreal px)
{
    const double ms = loopMilliseconds(t, 2.8);
    MotionFrame f;
    if (ms < 1050) {
        const double e = smoothstep(ms / 1050);
        f.rot = -8 * e;
        f.sx = 1 - 0.04 * e;
        f.sy = 1 + 0.08 * e;
    } else if (ms < 1250) {
        f.rot = -8;
        f.sx = 0.96;
        f.sy = 1.08;
    } else if (ms < 2000) {
        // Starts from sx = 1, not the held 0.96: the puff of breath is a snap.
        const double e = smoothstep((ms - 1250) / 750);
        const double s = std::sin(pi * e);
        f.expr = face(u"blow");
        f.rot = 19 * e - 8;
        f.sx = 1 + 0.13 * s;
        f.sy = 1.08 - 0.16 * s;
    } else {
        f.rot = 11 * (1 - smoothstep((ms - 2000) / 800));
    }
    const std::array<double, 4> fan{-13.5, -4.5, 4.5, 13.5};
    for (int k = 0; k < 4; ++k) {
        const Window w = windowAt(ms - 1300 - 110 * k, 600);
        f.accessories.push_back({k, MotionSprites::puff(), 0.85 * px, w.inside ? std::sin(pi * w.q) : 0,
                                 3.4 * px + 60 * w.q, -1.5 * px + fan[size_t(k)] * w.q, 0.9 + 0.7 * w.q, 0});
    }
    return f;
}

MotionFrame stamp(double t, qreal px)
{
    const double ms = loopMilliseconds(t, 2.0);
    MotionFrame f;
    f.headroom = 9;
    double stampY = 0, stampRot = 0, imprint = 0, impact = 0;
    if (ms < 620) {
        const double q = ms / 620;
        stampY = -50 - 10 * std::sin(pi * q);
        stampRot = -5 * q;
    } else if (ms < 820) {
        const double q = (ms - 620) / 200;
        f.expr = face(u"blink");
        stampY = 50 * q - 50;
        stampRot = 5 * q - 5;
    } else if (ms < 1080) {
        const double s = std::sin(pi * (ms - 820) / 260);
        f.expr = face(u"blink");
        f.sx = 1 + 0.13 * s;
        f.sy = 1 - 0.13 * s;
        imprint = 0.55;
        impact = s;
    } else {
        const double q = (ms - 1080) / 920;
        stampY = -50 * q;
        imprint = 0.55 * (1 - q);
    }
    const qreal base = 4.5 * px;
    f.accessories = {
        {0, MotionSprites::imprint(), 0.9 * px, imprint, 0, base, 1, 0},
        {1, MotionSprites::stamp(), 0.9 * px, 1, 0, base + stampY, 1, stampRot},
        {2, MotionSprites::spark(), 0.7 * px, 0.8 * impact, -2 * px - 10 * impact, base - 8 * impact,
         0.6 + 0.6 * impact, 0},
        {3, MotionSprites::spark(), 0.7 * px, 0.8 * impact, 2 * px + 10 * impact, base - 8 * impact,
         0.6 + 0.6 * impact, 0},
    };
    return f;
}

MotionFrame stretch(double t, qreal px)
{
    const double ms = loopMilliseconds(t, 2.9);
    MotionFrame f;
    f.headroom = 9;
    f.expr = face(u"blink");
    if (ms < 550) {
        const double e = smoothstep(ms / 550);
        f.ty = 3 * e;
        f.sx = 1 + 0.08 * e;
        f.sy = 1 - 0.1 * e;
    } else if (ms < 1250) {
        const double e = smoothstep((ms - 550) / 700);
        f.ty = 3 - 23 * e;
        f.sx = 1.08 - 0.28 * e;
        f.sy = 0.9 + 0.46 * e;
    } else if (ms < 1600) {
        f.ty = -20;
        f.sx = 0.8;
        f.sy = 1.36;
    } else if (ms < 1900) {
        // Ends squashed (ty 4, 1.13 × 0.86) and jumps to rest: a deliberate snap.
        const double e = smoothstep((ms - 1600) / 300);
        f.expr = face(u"happy");
        f.ty = 24 * e - 20;
        f.sx = 0.8 + 0.33 * e;
        f.sy = 1.36 - 0.5 * e;
    } else {
        f.expr = face(u"happy");
    }
    const std::array<double, 3> delays{0, 230, 460};
    const std::array<qreal, 3> xs{0, -24, 12};
    const std::array<qreal, 3> pixels{0.65, 0.65, 0.8};
    for (int k = 0; k < 3; ++k) {
        const Window w = windowAt(ms - 1880 - delays[size_t(k)], 950);
        f.accessories.push_back({k, MotionSprites::heart(), pixels[size_t(k)] * px,
                                 w.inside ? std::sin(pi * std::min(1.0, 1.25 * w.q)) : 0, xs[size_t(k)],
                                 -3 * px - 36 * w.q, 0.7 + 0.4 * w.q, 0});
    }
    return f;
}

MotionFrame doze(double t, qreal px)
{
    const double ms = loopMilliseconds(t, 3.4);
    MotionFrame f;
    if (ms < 1800) {
        const double q = ms / 1800;
        f.expr = face(u"blink");
        f.ty = 6 * q;
        f.rot = 15 * q;
    } else if (ms < 2050) {
        const double q = (ms - 1800) / 250;
        f.ty = 6 - 7 * q;
        f.rot = 15 - 19 * q;
    } else {
        const double e = smoothstep((ms - 2050) / 1350);
        f.expr = e <= 0.4 ? face(u"happy") : face(u"blink");
        f.ty = e - 1;
        f.rot = 4 * e - 4;
    }
    const std::array<qreal, 3> pixels{0.5, 0.68, 0.86};
    for (int k = 0; k < 3; ++k) {
        // The letters vanish 100 ms into the wake jolt.
        const double local = ms - 430 * k;
        double q = 0, opacity = 0;
        if (ms < 1900 && local >= 0) {
            q = std::fmod(local, 1300) / 1300;
            opacity = 0.9 * std::sin(pi * q);
        }
        f.accessories.push_back(
            {k, MotionSprites::letterZ(), pixels[size_t(k)] * px, opacity, 2 * px + 10 * q, -30 * q - px,
             0.7 + 0.5 * q, 0});
    }
    return f;
}

MotionFrame aww(double t, qreal px)
{
    const double ms = loopMilliseconds(t, 1.8);
    MotionFrame f;
    double s = 0;
    if (ms < 160)
        s = std::sin(pi * ms / 160);
    else if (ms >= 260 && ms < 420)
        s = 0.8 * std::sin(pi * (ms - 260) / 160);
    f.sx = 1 - 0.06 * s;
    f.sy = 1 + 0.1 * s;
    f.expr = ms < 520 ? face(u"uwu") : face(u"happy");
    const Window w = windowAt(ms - 60, 1150);
    f.accessories.push_back({0, MotionSprites::heart(), 0.8 * px,
                             w.inside ? std::sin(pi * std::min(1.0, 1.3 * w.q)) : 0, 0, -3 * px - 30 * w.q,
                             0.7 + 0.4 * w.q, 0});
    return f;
}

namespace {

struct SearchStep {
    double at;  // ms into the loop
    int d;      // the value from then on
};

// The loop starts and ends at 0, so the wrap is no step.
constexpr std::array<SearchStep, 5> searchSteps{{{0, 0}, {800, -1}, {1500, 0}, {1900, 1}, {2600, 0}}};
constexpr double searchEaseMs = 350;

MotionFrame searchPose(double d, qreal px)
{
    MotionFrame f;
    f.tx = 0.6 * px * d;
    f.rot = 5 * d;
    return f;
}

} // namespace

SearchFrame search(double t, qreal px)
{
    const double ms = loopMilliseconds(t, 3.4);
    int d = searchSteps.front().d;
    for (const SearchStep &step : searchSteps) {
        if (ms >= step.at)
            d = step.d;
    }
    return {d, searchPose(d, px)};
}

MotionFrame searchShown(double t, qreal px)
{
    const double ms = loopMilliseconds(t, 3.4);
    size_t current = 0;
    for (size_t i = 0; i < searchSteps.size(); ++i) {
        if (ms >= searchSteps[i].at)
            current = i;
    }
    const int to = searchSteps[current].d;
    const int from = current == 0 ? searchSteps.back().d : searchSteps[current - 1].d;
    const double since = ms - searchSteps[current].at;
    if (since >= searchEaseMs || from == to)
        return searchPose(to, px);
    const double eased = TimingCurve::easeInOut().valueAt(since / searchEaseMs);
    return searchPose(from + (to - from) * eased, px);
}

} // namespace pomelark::Motions
