#pragma once

#include <QDateTime>

#include <qcoro/qcorotask.h>

#include <chrono>

namespace pomelark {

/// The time source of the import session's pacing: a monotonic reading, the
/// wall-clock moment the preparing screen is told, and sleeps on the monotonic
/// clock. Tests hand in a clock whose time moves only when sleepers are due.
class SessionClock {
public:
    virtual ~SessionClock() = default;

    /// Time since an arbitrary origin; never goes backwards.
    virtual std::chrono::nanoseconds now() const = 0;

    /// The wall-clock moment matching `now()`.
    virtual QDateTime wallNow() const = 0;

    /// Resumes on the calling (main) thread once `duration` has passed on the
    /// monotonic clock. Never fails; a non-positive duration still waits for
    /// one turn of the event loop.
    virtual QCoro::Task<void> sleep(std::chrono::nanoseconds duration) = 0;

    /// The process-wide clock on the system's monotonic time and Qt timers.
    static SessionClock &steady();
};

} // namespace pomelark
