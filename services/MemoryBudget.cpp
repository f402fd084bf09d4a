#include "services/MemoryBudget.h"

#include "platform/PhysicalMemory.h"

#include <QString>

#include <algorithm>
#include <utility>

namespace pomelark {

MemoryBudget::MemoryBudget(qint64 totalBytes) : m_total(std::max<qint64>(totalBytes, 0)) {}

qint64 MemoryBudget::configuredBytes()
{
    bool set = false;
    const qint64 megabytes = qEnvironmentVariable("POMELARK_MEMORY_MB").trimmed().toLongLong(&set);
    if (set && megabytes > 0)
        return megabytes * 1024 * 1024;
    // Half leaves the other half to the desktop and what else runs beside.
    const qint64 physical = physicalMemoryBytes();
    return physical > 0 ? physical / 2 : qint64(2048) * 1024 * 1024;
}

qint64 MemoryBudget::held() const
{
    const std::lock_guard lock(m_mutex);
    return m_held;
}

MemoryBudget::Place MemoryBudget::line()
{
    const std::lock_guard lock(m_mutex);
    m_line.push_back(m_nextId);
    return Place(this, m_nextId++);
}

std::optional<MemoryBudget::Claim> MemoryBudget::claim(Place place, qint64 bytes, std::stop_token stop)
{
    bytes = std::max<qint64>(bytes, 0);
    std::unique_lock lock(m_mutex);
    const quint64 id = std::exchange(place.m_id, 0);
    const bool granted = m_changed.wait(lock, stop, [&] {
        const bool first = m_line.empty() || m_line.front() == id;
        return first && (m_held + bytes <= m_total || m_held == 0);
    });
    m_line.remove(id);
    if (!granted) {
        lock.unlock();
        m_changed.notify_all();
        return std::nullopt;
    }
    m_held += bytes;
    // The next in line may fit too.
    m_changed.notify_all();
    return Claim(this, bytes);
}

void MemoryBudget::release(qint64 bytes)
{
    {
        const std::lock_guard lock(m_mutex);
        m_held -= bytes;
    }
    m_changed.notify_all();
}

void MemoryBudget::leave(quint64 id)
{
    {
        const std::lock_guard lock(m_mutex);
        m_line.remove(id);
    }
    m_changed.notify_all();
}

MemoryBudget::Claim::Claim(Claim &&other) noexcept
    : m_budget(std::exchange(other.m_budget, nullptr)), m_bytes(std::exchange(other.m_bytes, 0))
{
}

MemoryBudget::Claim::~Claim()
{
    if (m_budget && m_bytes > 0)
        m_budget->release(m_bytes);
}

void MemoryBudget::Claim::shrinkTo(qint64 bytes)
{
    bytes = std::clamp<qint64>(bytes, 0, m_bytes);
    if (m_budget && bytes < m_bytes)
        m_budget->release(m_bytes - bytes);
    m_bytes = bytes;
}

MemoryBudget::Place::Place(Place &&other) noexcept
    : m_budget(std::exchange(other.m_budget, nullptr)), m_id(std::exchange(other.m_id, 0))
{
}

MemoryBudget::Place::~Place()
{
    if (m_budget && m_id != 0)
        m_budget->leave(m_id);
}

} // namespace pomelark
