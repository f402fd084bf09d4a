#include "look/HopWiggleMotion.h"

#include "look/MotionFrame.h"

#include <array>
#include <cmath>
#include <numbers>

namespace pomelark {

namespace {

constexpr double pi = std::numbers::pi;
constexpr qreal jumpHeight = 58;

struct TimetableRow {
    const char16_t *expression;
    int milliseconds;
};

constexpr std::array<TimetableRow, 7> wiggleTimetable{{
    {u"happy", 2000},
    {u"blink", 160},
    {u"happy", 1800},
    {u"wink", 520},
    {u"happy", 1700},
    {u"uwu", 1000},
    {u"blink", 160},
}};

} // namespace

HopState hopState(double t)
{
    const double ms = loopMilliseconds(t, 2.3);
    HopState s;
    if (ms < 1000) {
        const double b = 0.02 * std::sin(2 * pi * ms / 1000);
        s = {0, 1 - b, 1 + b, QStringLiteral("happy")};
    } else if (ms < 1150) {
        const double p = (ms - 1000) / 150;
        s = {0, 1 + 0.16 * p, 1 - 0.2 * p, QStringLiteral("blink")};
    } else if (ms < 1750) {
        // Starts tall and thin right after the crouch: a deliberate jump in pose.
        const double p = (ms - 1150) / 600;
        s = {-jumpHeight * std::sin(pi * p), 1 - 0.1 * std::cos(pi * p), 1 + 0.12 * std::cos(pi * p),
             QStringLiteral("blink")};
    } else if (ms < 1980) {
        const double p = (ms - 1750) / 230;
        const double w = 0.04 * std::sin(pi * p);
        s = {0, 1.1 - 0.1 * p - w, 0.88 + 0.12 * p + w, p > 0.55 ? QStringLiteral("happy") : QStringLiteral("blink")};
    } else {
        s = {0, 1, 1, QStringLiteral("happy")};
    }
    const double k = std::abs(s.offsetY) / jumpHeight;
    s.shadowScaleX = 1 - 0.34 * k;
    s.shadowOpacity = 0.18 - 0.1 * k;
    return s;
}

int wiggleLoopMilliseconds()
{
    static const int total = [] {
        int sum = 0;
        for (const TimetableRow &row : wiggleTimetable)
            sum += row.milliseconds;
        return sum;
    }();
    return total;
}

WiggleFrame wiggleFrame(double t)
{
    const double ms = t * 1000;
    double local = std::fmod(ms, double(wiggleLoopMilliseconds()));
    if (local < 0)
        local += wiggleLoopMilliseconds();
    // The last row holds through the loop's end, where rounding may put `local`.
    const char16_t *expression = wiggleTimetable.back().expression;
    int end = 0;
    for (const TimetableRow &row : wiggleTimetable) {
        end += row.milliseconds;
        if (end > local) {
            expression = row.expression;
            break;
        }
    }
    const double x = std::sin(0.0022 * ms);
    return {QString::fromUtf16(expression), 0.8 * x, 5.0 * x};
}

} // namespace pomelark
