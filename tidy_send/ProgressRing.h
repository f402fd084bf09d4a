#pragma once

#include "look/FrameTicker.h"

#include <QWidget>

namespace pomelark {

class FrameTimeline;

/// The send's busy ring: a soft track, a short lavender arc that turns clockwise
/// once every 0.9 s at constant speed for as long as the ring is shown, and the
/// percentage in its middle. The arc's length never follows the progress.
class ProgressRing : public QWidget {
    Q_OBJECT
public:
    static constexpr int side = 92;
    static constexpr qreal lineWidth = 5;
    static constexpr qreal arcFraction = 0.28;
    static constexpr double turnSeconds = 0.9;

    explicit ProgressRing(QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());
    ~ProgressRing() override;

    /// The number shown in the middle, as "N%".
    void setPercent(qint64 percent);
    QString centreText() const;

    /// Where the arc stands, in degrees clockwise from its start (0 … 360).
    qreal spin() const { return m_spin; }

    QSize sizeHint() const override { return {side, side}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void advance(std::chrono::nanoseconds date);

    FrameTimeline *m_timeline = nullptr;
    std::chrono::nanoseconds m_spinStart{};
    bool m_spinStarted = false;
    qreal m_spin = 0;
    qint64 m_percent = 0;
};

} // namespace pomelark
