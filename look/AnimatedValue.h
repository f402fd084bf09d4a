#pragma once

#include "look/Animation.h"
#include "look/FrameTicker.h"

#include <functional>
#include <optional>

namespace pomelark {

/// A number that moves to new targets with an animation. A new target set while
/// it moves starts from where the value is at that moment (a spring also keeps
/// its speed), so interrupted animations never jump. Reading `value()` gives the
/// value at the clock's current time; while it moves it is registered with the
/// ticker and calls its change handler on every frame.
class AnimatedValue : public FrameClient {
public:
    explicit AnimatedValue(double initial, FrameTicker &ticker = FrameTicker::shared());
    ~AnimatedValue() override;
    AnimatedValue(const AnimatedValue &) = delete;
    AnimatedValue &operator=(const AnimatedValue &) = delete;

    /// Called whenever the value changes (each frame while moving, and on jumps).
    void setOnChange(std::function<void()> handler) { m_onChange = std::move(handler); }

    double value() const;
    double target() const { return m_to; }
    /// Units per second at the clock's current time.
    double velocity() const;
    bool isAnimating() const { return m_animation.has_value(); }

    /// Moves to `target` with `animation`, from the current value. Setting the
    /// target it already heads for changes nothing.
    void animateTo(double target, const Animation &animation);

    /// Jumps to `target` at once, ending any animation.
    void setValue(double target);

    void advanceTo(std::chrono::nanoseconds now) override;

private:
    double valueAt(std::chrono::nanoseconds time) const;
    void notify();

    FrameTicker &m_ticker;
    std::optional<Animation> m_animation;
    std::chrono::nanoseconds m_start{};
    double m_from = 0;
    double m_to = 0;
    double m_startVelocity = 0;
    std::function<void()> m_onChange;
};

} // namespace pomelark
