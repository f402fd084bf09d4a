#include "platform/SerialExecutor.h"

#include <mutex>
#include <vector>

namespace pomelark {

namespace detail {

QObject *resumeContext()
{
    // One per awaiting thread (in practice the main thread), kept for the life of the process.
    static thread_local QObject *context = new QObject;
    return context;
}

} // namespace detail

SerialExecutor::SerialExecutor(const QString &name) : m_state(std::make_shared<State>())
{
    m_state->pool.setMaxThreadCount(1);
    m_state->pool.setObjectName(name);
    // The worker thread is kept for the life of the service.
    m_state->pool.setExpiryTimeout(-1);
}

SerialExecutor::~SerialExecutor()
{
    if (*m_state->abandoned && !m_state->pool.waitForDone(0)) {
        // A pool waits for its jobs when it goes: kept, it lets the process end
        // around the job instead.
        static std::mutex mutex;
        static auto *kept = new std::vector<std::shared_ptr<State>>;
        const std::lock_guard lock(mutex);
        kept->push_back(m_state);
        return;
    }
    m_state->pool.waitForDone();
}

} // namespace pomelark
