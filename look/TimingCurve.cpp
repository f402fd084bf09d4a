#include "look/TimingCurve.h"

#include <cmath>

namespace pomelark {

namespace {

// One coordinate of the cubic with end points 0 and 1 and control values a, b.
double bezier(double t, double a, double b)
{
    const double u = 1.0 - t;
    return 3.0 * u * u * t * a + 3.0 * u * t * t * b + t * t * t;
}

double bezierDerivative(double t, double a, double b)
{
    const double u = 1.0 - t;
    return 3.0 * u * u * a + 6.0 * u * t * (b - a) + 3.0 * t * t * (1.0 - b);
}

} // namespace

// Newton's method converges in a few steps almost everywhere; where the slope
// flattens it falls back to bisection, which x(t) being monotonic makes safe.
double TimingCurve::parameterFor(double x) const
{
    double t = x;
    for (int i = 0; i < 8; ++i) {
        const double error = bezier(t, m_x1, m_x2) - x;
        if (std::abs(error) < 1e-9)
            return t;
        const double slope = bezierDerivative(t, m_x1, m_x2);
        if (std::abs(slope) < 1e-6)
            break;
        t -= error / slope;
        if (t < 0.0 || t > 1.0)
            break;
    }
    double low = 0.0, high = 1.0;
    t = x;
    for (int i = 0; i < 60; ++i) {
        const double value = bezier(t, m_x1, m_x2);
        if (std::abs(value - x) < 1e-9)
            break;
        (value < x ? low : high) = t;
        t = (low + high) / 2.0;
    }
    return t;
}

double TimingCurve::valueAt(double x) const
{
    if (x <= 0.0)
        return 0.0;
    if (x >= 1.0)
        return 1.0;
    return bezier(parameterFor(x), m_y1, m_y2);
}

double TimingCurve::slopeAt(double x) const
{
    const double t = parameterFor(x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x));
    const double dx = bezierDerivative(t, m_x1, m_x2);
    const double dy = bezierDerivative(t, m_y1, m_y2);
    if (std::abs(dx) < 1e-9)
        return dy >= 0 ? 1e9 : -1e9;
    return dy / dx;
}

} // namespace pomelark
