#pragma once

#include "look/AnimationClock.h"

#include <QObject>
#include <QTimer>

#include <vector>

namespace pomelark {

/// Something that moves with time: told the clock's time on every frame while
/// it is registered with a ticker.
class FrameClient {
public:
    virtual ~FrameClient() = default;
    /// Called once per frame with the clock's current time.
    virtual void advanceTo(std::chrono::nanoseconds now) = 0;
};

/// The one frame timer of the look. Animations, timelines and hover delays
/// register while they have something to do; the timer runs only while at
/// least one is registered, at the display's 60 frames a second.
class FrameTicker : public QObject {
    Q_OBJECT
public:
    explicit FrameTicker(AnimationClock &clock, QObject *parent = nullptr);
    ~FrameTicker() override;

    /// The process-wide ticker on the steady clock.
    static FrameTicker &shared();

    AnimationClock &clock() const { return m_clock; }
    std::chrono::nanoseconds now() const { return m_clock.now(); }

    /// Registers `client` for the following frames; adding it twice is harmless.
    void add(FrameClient *client);
    /// Unregisters `client`; safe from inside its own `advanceTo`.
    void remove(FrameClient *client);
    bool contains(const FrameClient *client) const;

    /// Whether the frame timer is running (something is registered).
    bool isRunning() const { return m_timer.isActive(); }

    /// Delivers one frame at the clock's current time to every registered client.
    /// The timer calls it; tests call it after stepping a manual clock.
    void tick();

    static constexpr std::chrono::milliseconds frameInterval{16};

private:
    AnimationClock &m_clock;
    QTimer m_timer;
    std::vector<FrameClient *> m_clients;
};

} // namespace pomelark
