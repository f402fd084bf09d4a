#pragma once

#include <QFuture>
#include <QString>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <qcoro/qcorofuture.h>
#include <qcoro/qcorotask.h>

#include <exception>
#include <type_traits>
#include <utility>
#include <variant>

namespace pomelark {

namespace detail {

/// The value a blocking job produced, or the exception it threw. Carrying the
/// exception by hand keeps its type intact; QtConcurrent would wrap anything
/// that is not a QException into QUnhandledException.
template <typename T>
struct JobOutcome {
    std::variant<std::monostate, T, std::exception_ptr> value;

    T take()
    {
        if (auto *error = std::get_if<std::exception_ptr>(&value))
            std::rethrow_exception(*error);
        return std::move(std::get<T>(value));
    }
};

template <>
struct JobOutcome<void> {
    std::exception_ptr error;

    void take()
    {
        if (error)
            std::rethrow_exception(error);
    }
};

} // namespace detail

/// One service's own serial executor: blocking work runs one job at a time, in
/// submission order, on a private single-thread pool, while the service's state
/// stays on the thread that awaits (the main thread).
///
/// `run()` returns a coroutine task; awaiting it from the main thread resumes
/// there once the job is done, so the main thread never blocks on a worker.
/// An exception thrown by the job reaches the awaiter unchanged.
class SerialExecutor {
public:
    explicit SerialExecutor(const QString &name)
    {
        m_pool.setMaxThreadCount(1);
        m_pool.setObjectName(name);
        // The worker thread is kept for the life of the service.
        m_pool.setExpiryTimeout(-1);
    }

    ~SerialExecutor() { m_pool.waitForDone(); }

    SerialExecutor(const SerialExecutor &) = delete;
    SerialExecutor &operator=(const SerialExecutor &) = delete;

    /// Runs `job` on the executor's thread. The job must not wait on the main thread.
    template <typename Job>
    auto run(Job job) -> QCoro::Task<std::invoke_result_t<Job &>>
    {
        using Result = std::invoke_result_t<Job &>;
        QFuture<detail::JobOutcome<Result>> future =
            QtConcurrent::run(&m_pool, [job = std::move(job)]() mutable {
                detail::JobOutcome<Result> outcome;
                try {
                    if constexpr (std::is_void_v<Result>)
                        job();
                    else
                        outcome.value.template emplace<1>(job());
                } catch (...) {
                    if constexpr (std::is_void_v<Result>)
                        outcome.error = std::current_exception();
                    else
                        outcome.value.template emplace<2>(std::current_exception());
                }
                return outcome;
            });
        detail::JobOutcome<Result> outcome = co_await future;
        co_return outcome.take();
    }

    /// Waits until every queued job has run. For shutdown and tests only: it
    /// blocks the calling thread.
    void waitForDone() { m_pool.waitForDone(); }

private:
    QThreadPool m_pool;
};

} // namespace pomelark
