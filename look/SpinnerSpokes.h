#pragma once

#include "look/FrameTicker.h"

#include <functional>

namespace pomelark {

/// The turning of an indeterminate spinner, kept apart from its drawing so a
/// view can paint the spinner itself (with ActivitySpinner::paint) at the
/// opacity of whatever it lies in. While running it follows the ticker's clock
/// and calls `onStep` each time the next spoke lights; paused, it holds its
/// spoke and takes no frames.
class SpinnerSpokes : public FrameClient {
public:
    SpinnerSpokes(FrameTicker &ticker, std::function<void()> onStep);
    ~SpinnerSpokes() override;
    SpinnerSpokes(const SpinnerSpokes &) = delete;
    SpinnerSpokes &operator=(const SpinnerSpokes &) = delete;

    /// Starts or pauses the turning. Starting takes the spoke of the moment at
    /// once, so a spinner shown again does not flash an old one.
    void setRunning(bool running);
    bool isRunning() const { return m_ticker.contains(this); }
    /// Which spoke is brightest, 0…11, clockwise from the top.
    int leadingSpoke() const { return m_leading; }

    void advanceTo(std::chrono::nanoseconds now) override;

private:
    FrameTicker &m_ticker;
    std::function<void()> m_onStep;
    int m_leading = 0;
};

} // namespace pomelark
