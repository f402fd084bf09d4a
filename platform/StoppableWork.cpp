#include "platform/StoppableWork.h"

namespace pomelark {

void StoppableWork::throwIfStopped() const
{
    if (stopRequested())
        throw WorkStopped();
}

void StoppableWork::stop()
{
    m_stop.request_stop();
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_waitedFor == 0; });
}

void StoppableWork::count(int change)
{
    {
        const std::lock_guard lock(m_mutex);
        m_waitedFor += change;
    }
    m_changed.notify_all();
}

StoppableWork::Job::Job(StoppableWork &work) : m_work(work)
{
    m_work.count(1);
}

StoppableWork::Job::~Job()
{
    m_work.count(-1);
}

StoppableWork::Unstoppable::Unstoppable(StoppableWork *work) : m_work(work)
{
    if (m_work)
        m_work->count(-1);
}

StoppableWork::Unstoppable::~Unstoppable()
{
    if (m_work)
        m_work->count(1);
}

} // namespace pomelark
