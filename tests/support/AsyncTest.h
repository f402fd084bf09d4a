#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <type_traits>

namespace pomelark::test {

/// Runs the event loop until `task` finishes and returns its value, rethrowing
/// what it threw. QCoro's own waitFor never returns when a task throws, so tests
/// await through this. A task still running after `limit` aborts the test
/// program: returning would leave the task writing into a dead frame.
template <typename T>
T awaitTask(QCoro::Task<T> task, std::chrono::milliseconds limit = std::chrono::minutes(2))
{
    QEventLoop loop;
    bool done = false;
    std::exception_ptr error;
    std::conditional_t<std::is_void_v<T>, bool, std::optional<T>> value{};

    auto watch = [&](QCoro::Task<T> running) -> QCoro::Task<void> {
        try {
            if constexpr (std::is_void_v<T>)
                co_await std::move(running);
            else
                value = co_await std::move(running);
        } catch (...) {
            error = std::current_exception();
        }
        done = true;
        loop.quit();
    };
    QCoro::Task<void> watcher = watch(std::move(task));
    if (!done) {
        QTimer::singleShot(limit, &loop, [&] {
            if (!done) {
                std::fprintf(stderr, "awaitTask: the task did not finish in time\n");
                std::abort();
            }
        });
        loop.exec();
    }
    if (error)
        std::rethrow_exception(error);
    if constexpr (!std::is_void_v<T>)
        return std::move(*value);
}

/// Processes events until `condition` holds, for at most `limit`; returns whether it held.
/// The condition is looked at only once the events at hand are all handled, so
/// it never sees a state halfway through a chain of queued steps. Sleeps while
/// no event comes, so the code under test keeps the cores; a short timer wakes
/// it to look again, since a condition may turn on a worker thread that posts
/// nothing to this one.
template <typename Condition>
bool spinUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(30))
{
    constexpr std::chrono::milliseconds lookAgain(5);
    constexpr std::chrono::milliseconds drainAtMost(20);
    const QDeadlineTimer deadline(limit);
    QTimer wake;
    wake.start(lookAgain);
    QEventLoop loop;
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        loop.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        // Then what that event queued, as long as more comes at once (never waits).
        loop.processEvents(QEventLoop::AllEvents, int(drainAtMost.count()));
    }
    return true;
}

} // namespace pomelark::test
