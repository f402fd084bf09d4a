#pragma once

#include <QImage>
#include <QString>

#include <optional>
#include <vector>

namespace pomelark {

/// A compact global descriptor of a photo: the coarse layout of its brightness
/// and the layout of its edge directions. Two prints of shots of one moment (a
/// burst, a retake, a small reframe, another exposure or focus) lie closer than
/// 0.4; prints of different scenes lie farther apart.
class FeaturePrint {
public:
    /// Wraps ready-made descriptor values (for stored or fabricated prints).
    explicit FeaturePrint(std::vector<float> values) : m_values(std::move(values)) {}

    /// The print of `image`, or nothing for a null or degenerate (under 8 × 8 pixels) image.
    static std::optional<FeaturePrint> compute(const QImage &image);

    /// The print of the downsampled photo at `path`; nothing when it cannot be decoded.
    static std::optional<FeaturePrint> ofFile(const QString &path);

    /// Distance to `other`, 0 for identical prints and growing with difference.
    /// Nothing when the two prints were not made the same way (different lengths)
    /// or a value is not finite.
    std::optional<float> distance(const FeaturePrint &other) const;

    const std::vector<float> &values() const { return m_values; }

    /// Sides of the brightness layout and of the edge-direction grid, and the number of
    /// direction bins per cell; they fix the length of a print.
    static constexpr int layoutSide = 16;
    static constexpr int gridSide = 4;
    static constexpr int directionBins = 8;
    static constexpr int length = layoutSide * layoutSide + gridSide * gridSide * directionBins;

private:
    std::vector<float> m_values;
};

} // namespace pomelark
