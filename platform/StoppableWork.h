#pragma once

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <stop_token>
#include <type_traits>

namespace pomelark {

/// Work given up because its stop was requested. No user text: it is thrown
/// only when the program is ending or the work's result is no longer wanted.
class WorkStopped : public std::exception {
public:
    const char *what() const noexcept override { return "work stopped"; }
};

/// Work of several threads that one owner can stop, and wait for, however
/// long it would have run.
///
/// Each job counts itself while it runs (Job) and looks at token() between its
/// steps. A step that cannot be interrupted (a library call that takes no stop)
/// is marked Unstoppable: stop() does not wait for it, and the job that runs it
/// is abandoned, to end on its own. So stop() returns within a step's time
/// whatever runs. Any thread.
class StoppableWork {
public:
    StoppableWork() = default;
    StoppableWork(const StoppableWork &) = delete;
    StoppableWork &operator=(const StoppableWork &) = delete;

    std::stop_token token() const { return m_stop.get_token(); }
    bool stopRequested() const { return m_stop.stop_requested(); }
    /// Throws WorkStopped once the stop is requested.
    void throwIfStopped() const;

    /// Requests the stop, then blocks until no job runs but in an unstoppable step.
    void stop();

    /// Runs `step` of a job as an unstoppable one, for a step that takes no stop
    /// and may take long (a read from a card that stopped answering, a library's
    /// decode): stop() does not wait for it. Throws WorkStopped when the stop was
    /// requested meanwhile, its result thrown away.
    template <typename Step>
    std::invoke_result_t<Step &> abandonable(Step step)
    {
        using Result = std::invoke_result_t<Step &>;
        if constexpr (std::is_void_v<Result>) {
            {
                const Unstoppable unstoppable(this);
                step();
            }
            throwIfStopped();
        } else {
            std::optional<Result> result;
            {
                const Unstoppable unstoppable(this);
                result.emplace(step());
            }
            throwIfStopped();
            return std::move(*result);
        }
    }

    /// A job, counted while it lives.
    class Job {
    public:
        explicit Job(StoppableWork &work);
        ~Job();
        Job(const Job &) = delete;
        Job &operator=(const Job &) = delete;

    private:
        StoppableWork &m_work;
    };

    /// A step of a job that cannot be interrupted: while it lives, stop() does
    /// not wait for the job. Nothing when `work` is null.
    class Unstoppable {
    public:
        explicit Unstoppable(StoppableWork *work);
        ~Unstoppable();
        Unstoppable(const Unstoppable &) = delete;
        Unstoppable &operator=(const Unstoppable &) = delete;

    private:
        StoppableWork *m_work;
    };

private:
    void count(int change);

    std::stop_source m_stop;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_waitedFor = 0; ///< jobs running outside unstoppable steps
};

} // namespace pomelark
