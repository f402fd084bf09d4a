#pragma once

#include "look/MotionWidget.h"

namespace pomelark {

/// Shows the mascot motion of a chosen kind. Changing the kind starts the new
/// motion at its beginning; changing only the palette or the pixel size keeps
/// the motion running. Hop and wiggle show the lens here, as every other kind does.
class TuppoMotionView : public MotionWidget {
    Q_OBJECT
public:
    TuppoMotionView(TuppoMotionKind kind, const QString &palette, qreal pixelSize, QWidget *parent = nullptr,
                    FrameTicker &ticker = FrameTicker::shared(), MascotPauser &pauser = MascotPauser::shared());

    /// Switches to `kind`, restarting its clock; the same kind changes nothing.
    void setKind(TuppoMotionKind kind);
};

} // namespace pomelark
