#include "services/MemoryBudget.h"

#include "platform/PhysicalMemory.h"
#include "platform/SystemLog.h"

#include <QString>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace pomelark {

MemoryBudget::MemoryBudget(qint64 totalBytes) : m_total(std::max<qint64>(totalBytes, 0)) {}

MemoryBudget::Setting MemoryBudget::settingFrom(const QByteArray &text, qint64 physicalBytes)
{
    constexpr qint64 megabyte = 1024 * 1024;
    // Half leaves the other half to the desktop and what else runs beside.
    const qint64 fallback = physicalBytes > 0 ? physicalBytes / 2 : 2048 * megabyte;
    // Where the computer cannot tell its memory: far beyond any, and small
    // enough that sums of claims never overflow.
    const qint64 ceiling = physicalBytes > 0 ? physicalBytes : std::numeric_limits<qint64>::max() / 4;
    const QByteArray written = text.trimmed();
    if (written.isEmpty())
        return {fallback, {}};
    const QString read = QStringLiteral("POMELARK_MEMORY_MB=\"%1\" ").arg(QString::fromUtf8(written));
    const auto used = [](qint64 bytes) { return QStringLiteral(": a send may hold %1 MB").arg(bytes / megabyte); };
    const bool digits = std::all_of(written.begin(), written.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || written.count('0') == written.size()) {
        return {fallback, read + QStringLiteral("is not a whole number of megabytes above 0") + used(fallback)
                              + (physicalBytes > 0 ? QStringLiteral(", half this computer's memory") : QString())};
    }
    // Digits too many for a number are more than any computer has.
    bool isNumber = false;
    const qint64 megabytes = written.toLongLong(&isNumber);
    if (isNumber && megabytes <= ceiling / megabyte)
        return {megabytes * megabyte, {}};
    return {ceiling, read + QStringLiteral("is more than this computer's memory") + used(ceiling)};
}

qint64 MemoryBudget::configuredBytes()
{
    const Setting setting = settingFrom(qgetenv("POMELARK_MEMORY_MB"), physicalMemoryBytes());
    if (!setting.note.isEmpty()) {
        // Read at each send and each photo's read; said once.
        static std::mutex mutex;
        static QString said;
        const std::lock_guard lock(mutex);
        if (said != setting.note) {
            said = setting.note;
            SystemLog::write(QStringLiteral("[MemoryBudget] ") + setting.note);
        }
    }
    return setting.bytes;
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
    m_line.remove(std::exchange(place.m_id, 0));
    ++m_waiting;
    const auto unasked = [this] {
        return std::any_of(m_yielding.begin(), m_yielding.end(), [](const auto &held) { return !held.second.asked; });
    };
    while (!fits(bytes) && !stop.stop_requested()) {
        // Work that may be given up goes before work that must come to pass,
        // whoever claimed first: the read ahead of a photo whose conversion
        // waits behind this one would otherwise hold this one forever.
        std::vector<std::function<void()>> asks;
        for (auto &[id, held] : m_yielding) {
            if (!std::exchange(held.asked, true))
                asks.push_back(held.letGo);
        }
        if (!asks.empty()) {
            lock.unlock();
            try {
                for (const auto &letGo : asks)
                    letGo();
            } catch (...) {
                // No longer waiting: yielding claims would wait for it forever.
                lock.lock();
                --m_waiting;
                lock.unlock();
                m_changed.notify_all();
                throw;
            }
            lock.lock();
            continue;
        }
        m_changed.wait(lock, stop, [&] { return fits(bytes) || unasked(); });
    }
    --m_waiting;
    const bool granted = fits(bytes) && !stop.stop_requested();
    if (granted)
        m_held += bytes;
    const quint64 id = m_nextId++;
    lock.unlock();
    // Yielding claims may go on, or another claim fit.
    m_changed.notify_all();
    if (!granted)
        return std::nullopt;
    return Claim(this, id, bytes);
}

std::optional<MemoryBudget::Claim> MemoryBudget::claimYielding(Place place, qint64 bytes, std::stop_token stop,
                                                              std::function<void()> letGo)
{
    bytes = std::max<qint64>(bytes, 0);
    std::unique_lock lock(m_mutex);
    const quint64 id = std::exchange(place.m_id, 0);
    // Refused once stopped, as claim() is, even when it would fit.
    const bool granted = m_changed.wait(lock, stop, [&] {
        const bool first = m_line.empty() || m_line.front() == id;
        return first && m_waiting == 0 && fits(bytes);
    }) && !stop.stop_requested();
    m_line.remove(id);
    if (granted) {
        m_held += bytes;
        m_yielding[id] = Yielding{std::move(letGo)};
    }
    lock.unlock();
    // The next in line may fit too, or go on now that this place left.
    m_changed.notify_all();
    if (!granted)
        return std::nullopt;
    return Claim(this, id, bytes);
}

void MemoryBudget::release(quint64 id, qint64 bytes, bool whole)
{
    {
        const std::lock_guard lock(m_mutex);
        m_held -= bytes;
        if (whole)
            m_yielding.erase(id);
    }
    m_changed.notify_all();
}

void MemoryBudget::keep(quint64 id)
{
    const std::lock_guard lock(m_mutex);
    m_yielding.erase(id);
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
    : m_budget(std::exchange(other.m_budget, nullptr)), m_id(std::exchange(other.m_id, 0)),
      m_bytes(std::exchange(other.m_bytes, 0))
{
}

MemoryBudget::Claim::~Claim()
{
    if (m_budget)
        m_budget->release(m_id, m_bytes, true);
}

void MemoryBudget::Claim::shrinkTo(qint64 bytes)
{
    bytes = std::clamp<qint64>(bytes, 0, m_bytes);
    if (m_budget && bytes < m_bytes)
        m_budget->release(m_id, m_bytes - bytes, false);
    m_bytes = bytes;
}

void MemoryBudget::Claim::keep()
{
    if (m_budget)
        m_budget->keep(m_id);
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
