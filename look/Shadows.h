#pragma once

#include <QColor>

namespace pomelark {

/// One drop shadow: colour (with its opacity), blur radius and offset, in logical
/// pixels. The radius is the blur's standard deviation, so a shadow fades out
/// about two radii beyond its shape.
struct Shadow {
    QColor color;
    qreal radius = 0;
    qreal x = 0;
    qreal y = 0;

    /// Whether drawing it would leave any mark.
    bool isVisible() const { return color.alpha() > 0; }
};

/// The five shadow presets. Each is made once, on first read, and never changes.
namespace Shadows {
const Shadow &none();       ///< clear: draws nothing
const Shadow &small();      ///< tiles and small cards
const Shadow &medium();     ///< the tooltip bubble
const Shadow &large();      ///< floating cards and overlays
const Shadow &accentGlow(); ///< the primary button
} // namespace Shadows

} // namespace pomelark
