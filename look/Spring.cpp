#include "look/Spring.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pomelark {

namespace {

constexpr double restFraction = 1e-3;

} // namespace

double Spring::angularFrequency() const
{
    return 2.0 * std::numbers::pi / std::max(response, 1e-6);
}

double Spring::displacementAt(double t, double x0, double v0) const
{
    if (t <= 0.0)
        return x0;
    const double w0 = angularFrequency();
    const double zeta = std::max(dampingFraction, 0.0);
    if (zeta < 1.0) {
        const double wd = w0 * std::sqrt(1.0 - zeta * zeta);
        const double envelope = std::exp(-zeta * w0 * t);
        return envelope * (x0 * std::cos(wd * t) + (v0 + zeta * w0 * x0) / wd * std::sin(wd * t));
    }
    if (zeta == 1.0)
        return std::exp(-w0 * t) * (x0 + (v0 + w0 * x0) * t);
    const double root = std::sqrt(zeta * zeta - 1.0);
    const double r1 = -w0 * (zeta - root);
    const double r2 = -w0 * (zeta + root);
    const double c2 = (v0 - r1 * x0) / (r2 - r1);
    const double c1 = x0 - c2;
    return c1 * std::exp(r1 * t) + c2 * std::exp(r2 * t);
}

double Spring::velocityAt(double t, double x0, double v0) const
{
    if (t <= 0.0)
        return v0;
    constexpr double h = 1e-5;
    return (displacementAt(t + h, x0, v0) - displacementAt(std::max(t - h, 0.0), x0, v0)) / (t + h - std::max(t - h, 0.0));
}

bool Spring::isSettledAt(double t, double x0, double v0) const
{
    const double w0 = angularFrequency();
    const double span = std::max(std::abs(x0) + std::abs(v0) / w0, 1e-12);
    return std::abs(displacementAt(t, x0, v0)) <= restFraction * span
        && std::abs(velocityAt(t, x0, v0)) <= restFraction * span * w0;
}

namespace Animations {

const Spring &spring()
{
    static const Spring token{0.5, 0.7, 0.0};
    return token;
}

} // namespace Animations

} // namespace pomelark
