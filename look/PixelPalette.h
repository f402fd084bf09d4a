#pragma once

#include <QColor>
#include <QHashFunctions>

namespace pomelark {

/// The four colours a pixel character is drawn in: its body, the lighter top
/// band, the darker bottom band and the one-cell outline.
struct PixelPalette {
    QColor body;
    QColor highlight;
    QColor shade;
    QColor outline;

    friend bool operator==(const PixelPalette &, const PixelPalette &) = default;
};

inline size_t qHash(const PixelPalette &palette, size_t seed = 0)
{
    return qHashMulti(seed, palette.body.rgba64(), palette.highlight.rgba64(), palette.shade.rgba64(),
                      palette.outline.rgba64());
}

} // namespace pomelark
