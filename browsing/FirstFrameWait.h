#pragma once

#include "look/FrameTicker.h"

#include <chrono>
#include <functional>
#include <optional>

namespace pomelark {

/// The video panel's limit on waiting for a player's first frame, on the
/// ticker's clock. Once in a long while Qt's player loads a video and then
/// shows nothing, without an error or an end; without a limit the panel would
/// say "Preparing..." for ever. It also bounds a first frame that is only
/// late, which the panel waits for with the sound held. The wait starts when
/// the player reports its media loaded, or its sound is held, and ends with
/// the first frame. Running out the first time for a video asks for a new
/// player, the second time gives up.
class FirstFrameWait : public FrameClient {
public:
    /// A 4K HEVC 10-bit clip mostly shows its first frame within a second of
    /// loading; on a busy machine it has taken many seconds.
    static constexpr std::chrono::seconds limit{10};

    enum class Overdue { newPlayer, giveUp };

    FirstFrameWait(FrameTicker &ticker, std::function<void(Overdue)> onOverdue);
    ~FirstFrameWait() override;

    /// Another video: no wait runs, and its first player may be replaced again.
    void reset();
    /// The player's media is loaded: the wait starts, unless it already runs.
    void loaded();
    /// The first frame is there, or the player is gone: the wait ends.
    void end();

    void advanceTo(std::chrono::nanoseconds now) override;

private:
    FrameTicker &m_ticker;
    std::function<void(Overdue)> m_onOverdue;
    std::optional<std::chrono::nanoseconds> m_deadline;
    bool m_replaced = false;
};

} // namespace pomelark
