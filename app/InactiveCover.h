#pragma once

#include "look/OverlayLayer.h"

#include <QImage>

namespace pomelark {

/// What lies over the grid while the app is in the background or its window is
/// hidden: a frosted copy of the grid and the mascot's "uwu" face. The grid's
/// thumbnails are not shown sharp to whoever glances at the screen meanwhile.
class InactiveCover : public OverlayLayer {
    Q_OBJECT
public:
    static constexpr qreal mascotPixelSize = 6;

    explicit InactiveCover(QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());

    /// Takes a new frosted copy of what the parent shows beneath the cover.
    void refreshBackdrop();

    const QImage &frosted() const { return m_frosted; }

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage m_frosted;
    bool m_grabbing = false;
};

} // namespace pomelark
