#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThreadPool>

#include <qcoro/qcorotask.h>

#include <atomic>
#include <coroutine>
#include <memory>
#include <exception>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace pomelark {

namespace detail {

/// The value a blocking job produced, or the exception it threw, carried by
/// hand so the exception keeps its type on its way to the awaiter.
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

/// The object that resumes coroutines on the thread it lives in: one per
/// awaiting thread, made on first use there.
QObject *resumeContext();

/// Runs a job on a pool and resumes the awaiting coroutine on the awaiting
/// thread through one queued call. Lighter than a QFutureWatcher per job, which
/// matters when a run hops once per file across thousands of files.
template <typename Job, typename T = std::invoke_result_t<Job &>>
class JobAwaiter {
public:
    /// Once `abandoned` is set, no one is resumed, not even by a job that had
    /// already ended.
    JobAwaiter(QThreadPool &pool, Job job, std::shared_ptr<const std::atomic_bool> abandoned = {})
        : m_pool(pool), m_job(std::move(job)), m_abandoned(std::move(abandoned))
    {
    }

    bool await_ready() const noexcept { return false; }

    void await_suspend(std::coroutine_handle<> awaiting)
    {
        QPointer<QObject> context = resumeContext();
        m_pool.start([this, awaiting, context, abandoned = m_abandoned] {
            try {
                if constexpr (std::is_void_v<T>)
                    (*m_job)();
                else
                    m_outcome.value.template emplace<1>((*m_job)());
            } catch (...) {
                if constexpr (std::is_void_v<T>)
                    m_outcome.error = std::current_exception();
                else
                    m_outcome.value.template emplace<2>(std::current_exception());
            }
            // The job's captures go away on the worker, not on the awaiting thread.
            m_job.reset();
            if (context && !(abandoned && *abandoned)) {
                // Abandoned while the resume was on its way: its owner may be gone.
                QMetaObject::invokeMethod(context, [awaiting, abandoned] {
                    if (!(abandoned && *abandoned))
                        awaiting.resume();
                }, Qt::QueuedConnection);
            }
        });
    }

    T await_resume() { return m_outcome.take(); }

private:
    QThreadPool &m_pool;
    std::optional<Job> m_job;
    std::shared_ptr<const std::atomic_bool> m_abandoned;
    JobOutcome<T> m_outcome;
};

} // namespace detail

/// Runs `job` on `pool` and resumes the awaiting coroutine on its own thread.
/// An exception thrown by the job reaches the awaiter unchanged. Once
/// `abandoned` is set, the awaiter is never resumed, even by a job already done.
template <typename Job>
auto runOnPool(QThreadPool &pool, Job job, std::shared_ptr<const std::atomic_bool> abandoned = {})
    -> QCoro::Task<std::invoke_result_t<Job &>>
{
    co_return co_await detail::JobAwaiter<Job>(pool, std::move(job), std::move(abandoned));
}

/// One service's own serial executor: blocking work runs one job at a time, in
/// submission order, on a private single-thread pool, while the service's state
/// stays on the thread that awaits (the main thread).
///
/// `run()` returns a coroutine task; awaiting it from the main thread resumes
/// there once the job is done, so the main thread never blocks on a worker.
/// An exception thrown by the job reaches the awaiter unchanged.
class SerialExecutor {
public:
    explicit SerialExecutor(const QString &name);
    /// Waits until every queued job has run, unless the executor was abandoned.
    ~SerialExecutor();

    SerialExecutor(const SerialExecutor &) = delete;
    SerialExecutor &operator=(const SerialExecutor &) = delete;

    /// Runs `job` on the executor's thread. The job must not wait on the thread
    /// that awaits it.
    template <typename Job>
    QCoro::Task<std::invoke_result_t<Job &>> run(Job job)
    {
        co_return co_await detail::JobAwaiter<Job>(*m_pool, std::move(job), m_abandoned);
    }

    /// Waits until every queued job has run. For shutdown and tests only: it
    /// blocks the calling thread.
    void waitForDone() { m_pool->waitForDone(); }

    /// Leaves the jobs that still run to end on their own, for a service that
    /// ends while one runs a step that cannot be interrupted: from now on no
    /// job resumes its awaiter, and the executor goes without waiting (its
    /// thread ends with the job; see AbandonedPools).
    void abandon() { *m_abandoned = true; }

private:
    std::shared_ptr<QThreadPool> m_pool = std::make_shared<QThreadPool>();
    std::shared_ptr<std::atomic_bool> m_abandoned = std::make_shared<std::atomic_bool>(false);
};

} // namespace pomelark
