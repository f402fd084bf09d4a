#pragma once

#include "look/FrameTimeline.h"
#include "look/MascotPauser.h"
#include "look/TuppoMotionKind.h"

#include <QWidget>

#include <memory>

namespace pomelark {

/// A widget that plays one mascot motion on the shared frame ticker: 60 frames
/// a second (the wiggle 30), none while the pauser says so, and none while the
/// widget is hidden. Time counts from the motion's start on the ticker's
/// monotonic clock. Each paint shows the last delivered frame, so a repaint
/// while paused shows the same pose.
///
/// The widget is larger than the motion's layout frame by the room the motion
/// draws outside it (`MotionPainter::bleed`); `frameRect()` is the layout frame.
class MotionWidget : public QWidget {
    Q_OBJECT
public:
    void setPaletteName(const QString &palette);
    void setPixelSize(qreal pixelSize);

    TuppoMotionKind kind() const { return m_kind; }
    const QString &paletteName() const { return m_palette; }
    qreal pixelSize() const { return m_pixelSize; }
    bool showLens() const { return m_showLens; }

    /// Seconds from the motion's start to the frame shown now.
    double shownElapsed() const;
    /// The motion's layout frame inside the widget.
    QRectF frameRect() const;
    QSize sizeHint() const override;

protected:
    MotionWidget(TuppoMotionKind kind, const QString &palette, qreal pixelSize, bool showLens, FrameTicker &ticker,
                 MascotPauser &pauser, QWidget *parent);

    /// Replaces the motion: it starts again at its loop position 0.
    void restartAs(TuppoMotionKind kind);

    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void onFrame(std::chrono::nanoseconds date);

    FrameTicker &m_ticker;
    MascotPauser &m_pauser;
    TuppoMotionKind m_kind;
    QString m_palette;
    qreal m_pixelSize;
    bool m_showLens;
    std::unique_ptr<FrameTimeline> m_timeline;
    std::chrono::nanoseconds m_origin{};
    std::chrono::nanoseconds m_shown{};
};

} // namespace pomelark
