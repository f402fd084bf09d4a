#pragma once

#include "look/MotionWidget.h"

namespace pomelark {

/// The mascot's wiggle: a gentle sway with blinks, a wink and a content face.
class TuppoWiggle : public MotionWidget {
    Q_OBJECT
public:
    TuppoWiggle(const QString &palette, qreal pixelSize, bool showLens, QWidget *parent = nullptr,
                FrameTicker &ticker = FrameTicker::shared(), MascotPauser &pauser = MascotPauser::shared())
        : MotionWidget(TuppoMotionKind::Wiggle, palette, pixelSize, showLens, ticker, pauser, parent)
    {
    }
};

} // namespace pomelark
