#pragma once

#include "app/SessionClock.h"
#include "platform/SharedOutcome.h"

#include <QList>
#include <QObject>

#include <functional>
#include <memory>

namespace pomelark::test {

/// A session clock whose time jumps straight to the next sleeper's wake-up, one
/// turn of the event loop after each sleep begins, so paced waits run at once
/// while keeping their times exact. Actions scheduled with `at` run when the
/// clock passes their time, before any sleeper due later wakes.
class FakeSessionClock : public SessionClock {
public:
    std::chrono::nanoseconds now() const override { return m_now; }
    QDateTime wallNow() const override;
    QCoro::Task<void> sleep(std::chrono::nanoseconds duration) override;

    void at(std::chrono::nanoseconds when, std::function<void()> action);

    /// Seconds since the clock's origin, for readable assertions.
    double seconds() const { return std::chrono::duration<double>(m_now).count(); }

private:
    struct Sleeper {
        std::chrono::nanoseconds wake;
        std::shared_ptr<SharedOutcome<bool>> outcome;
    };
    struct Action {
        std::chrono::nanoseconds when;
        std::function<void()> run;
    };

    void scheduleAdvance();
    void advance();

    std::chrono::nanoseconds m_now{0};
    QList<Sleeper> m_sleepers;
    QList<Action> m_actions;
    QObject m_context;   // drops posted advances once the clock is gone
};

} // namespace pomelark::test
