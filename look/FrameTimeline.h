#pragma once

#include "look/FrameTicker.h"

#include <QObject>

namespace pomelark {

/// A redraw schedule for continuously moving pictures: while running and not
/// paused it delivers the clock's time at most `framesPerSecond` times a second.
/// While paused it delivers nothing and its date stands still; on resuming it
/// delivers the current time (the paused span is not subtracted).
class FrameTimeline : public QObject, public FrameClient {
    Q_OBJECT
public:
    /// `framesPerSecond` is clamped to 1…60 (the ticker's own rate).
    explicit FrameTimeline(int framesPerSecond, FrameTicker &ticker = FrameTicker::shared(),
                           QObject *parent = nullptr);
    ~FrameTimeline() override;

    /// Starts delivering; the first frame comes at once with the current time.
    void start();
    void stop();
    bool isRunning() const { return m_running; }

    void setPaused(bool paused);
    bool isPaused() const { return m_paused; }

    /// The time of the last delivered frame.
    std::chrono::nanoseconds date() const { return m_date; }

    void advanceTo(std::chrono::nanoseconds now) override;

Q_SIGNALS:
    void frame(std::chrono::nanoseconds date);

private:
    void deliver(std::chrono::nanoseconds now);
    void updateRegistration();

    FrameTicker &m_ticker;
    std::chrono::nanoseconds m_interval;
    std::chrono::nanoseconds m_date{};
    std::chrono::nanoseconds m_nextDue{};
    bool m_running = false;
    bool m_paused = false;
};

} // namespace pomelark
