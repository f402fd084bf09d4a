#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace pomelark {

/// When the mascot's animations stand still, without any window system: they
/// run only while the application is active, no window is being dragged and
/// some window can be seen. A drag counts until 0.4 s after its last move
/// report; hiding takes effect only after no window has been visible for 0.15 s
/// (a visible report in between cancels it), showing at once.
///
/// Time is handed in by the caller (a monotonic clock); the due delays settle
/// when the caller calls `advanceTo` at or after `nextDeadline()`.
class MascotPauseRules {
public:
    using Time = std::chrono::nanoseconds;

    static constexpr std::chrono::milliseconds moveSettleDelay{400};
    static constexpr std::chrono::milliseconds hideSettleDelay{150};

    struct State {
        bool paused = false;
        bool appActive = true;
        bool windowVisible = true;
        bool windowMoving = false;

        friend bool operator==(const State &, const State &) = default;
    };

    /// `anyWindowVisible` answers whether some window of the application can be
    /// seen right now; it is asked on each visibility report and again when a
    /// hide delay runs out. `paused` starts false whatever `appActive` is, and
    /// stays so until the first report.
    MascotPauseRules(bool appActive, std::function<bool()> anyWindowVisible);

    const State &state() const { return m_state; }

    void setAppActive(bool active);
    /// A window moved (or is about to): moving now, settling 0.4 s after the last report.
    void noteWindowMoving(Time now);
    /// Some window's visibility may have changed.
    void occlusionChanged(Time now);
    /// Runs every delay due by `now`.
    void advanceTo(Time now);

    /// When the earliest pending delay runs out; nothing when none is pending.
    std::optional<Time> nextDeadline() const;
    bool hidePending() const { return m_visibleSettle.has_value(); }

private:
    void recompute();

    std::function<bool()> m_anyWindowVisible;
    State m_state;
    std::optional<Time> m_moveSettle;
    std::optional<Time> m_visibleSettle;
};

} // namespace pomelark
