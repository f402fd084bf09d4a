#include "platform/SerialExecutor.h"

#include "platform/AbandonedPools.h"

namespace pomelark {

namespace detail {

QObject *resumeContext()
{
    // One per awaiting thread (in practice the main thread), kept for the life of the process.
    static thread_local QObject *context = new QObject;
    return context;
}

} // namespace detail

SerialExecutor::SerialExecutor(const QString &name)
{
    m_pool->setMaxThreadCount(1);
    m_pool->setObjectName(name);
    // The worker thread is kept for the life of the service.
    m_pool->setExpiryTimeout(-1);
}

SerialExecutor::~SerialExecutor()
{
    if (*m_abandoned && !m_pool->waitForDone(0)) {
        AbandonedPools::keep(std::move(m_pool));
        return;
    }
    m_pool->waitForDone();
}

} // namespace pomelark
