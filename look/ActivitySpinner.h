#pragma once

#include "look/FrameTicker.h"

#include <QWidget>

namespace pomelark {

/// An indeterminate spinner: twelve spokes whose brightness runs round once a
/// second. It takes frames only while shown.
class ActivitySpinner : public QWidget, private FrameClient {
    Q_OBJECT
public:
    explicit ActivitySpinner(const QColor &tint, int diameter = 32, QWidget *parent = nullptr,
                             FrameTicker &ticker = FrameTicker::shared());
    ~ActivitySpinner() override;

    /// Which spoke is brightest now (0 = twelve o'clock, clockwise).
    int leadingSpoke() const { return m_leading; }

    QSize sizeHint() const override { return {m_diameter, m_diameter}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void advanceTo(std::chrono::nanoseconds now) override;

    static constexpr int spokes = 12;

    FrameTicker &m_ticker;
    QColor m_tint;
    int m_diameter;
    int m_leading = 0;
};

} // namespace pomelark
