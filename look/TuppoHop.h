#pragma once

#include "look/MotionWidget.h"

namespace pomelark {

/// The mascot's hop: a breathing idle, a crouch, a jump and a squashy landing.
class TuppoHop : public MotionWidget {
    Q_OBJECT
public:
    TuppoHop(const QString &palette, qreal pixelSize, bool showLens, QWidget *parent = nullptr,
             FrameTicker &ticker = FrameTicker::shared(), MascotPauser &pauser = MascotPauser::shared())
        : MotionWidget(TuppoMotionKind::Hop, palette, pixelSize, showLens, ticker, pauser, parent)
    {
    }
};

} // namespace pomelark
