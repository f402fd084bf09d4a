#pragma once

#include "look/Shadows.h"

#include <QColor>
#include <QFont>
#include <QMarginsF>

namespace pomelark {

/// How one of the three text buttons looks: label font and colour, padding,
/// the rounded background in its idle and pressed colours, an optional
/// hairline, a shadow, and what pressing and disabling do to it.
struct ButtonStyle {
    int fontPixelSize = 14;
    QFont::Weight fontWeight = QFont::DemiBold;
    QColor labelColor;
    qreal paddingX = 0;
    qreal paddingY = 0;
    qreal cornerRadius = 0;
    QColor fill;
    QColor pressedFill;
    QColor stroke;        ///< transparent: no hairline
    QColor pressedStroke;
    Shadow shadow;
    qreal disabledOpacity = 1;
    qreal pressedScale = 1;

    /// Filled lavender call to action.
    static const ButtonStyle &primary();
    /// Outlined white button.
    static const ButtonStyle &secondary();
    /// Small text button: no shadow, no scale, no dimming when disabled.
    static const ButtonStyle &ghost();

    /// Pressed-state changes ease out over this many seconds.
    static constexpr qreal pressSeconds = 0.15;
};

} // namespace pomelark
