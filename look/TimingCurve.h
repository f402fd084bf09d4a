#pragma once

namespace pomelark {

/// A cubic Bézier timing curve from (0, 0) to (1, 1) with two control points,
/// mapping the elapsed fraction of an animation to the fraction of its change.
/// The standard ease-in, ease-out and ease-in-out are such curves.
class TimingCurve {
public:
    /// Control points (x1, y1) and (x2, y2); x values are clamped to 0…1 so the
    /// curve stays a function of time.
    constexpr TimingCurve(double x1, double y1, double x2, double y2)
        : m_x1(x1 < 0 ? 0 : (x1 > 1 ? 1 : x1)), m_y1(y1), m_x2(x2 < 0 ? 0 : (x2 > 1 ? 1 : x2)), m_y2(y2)
    {
    }

    static constexpr TimingCurve linear() { return {0.0, 0.0, 1.0, 1.0}; }
    static constexpr TimingCurve easeIn() { return {0.42, 0.0, 1.0, 1.0}; }
    static constexpr TimingCurve easeOut() { return {0.0, 0.0, 0.58, 1.0}; }
    static constexpr TimingCurve easeInOut() { return {0.42, 0.0, 0.58, 1.0}; }

    /// The curve's value at elapsed fraction `x`; 0 at or before 0, 1 at or after 1.
    double valueAt(double x) const;

    /// The curve's slope (change per elapsed fraction) at `x`.
    double slopeAt(double x) const;

private:
    double parameterFor(double x) const;

    double m_x1, m_y1, m_x2, m_y2;
};

} // namespace pomelark
