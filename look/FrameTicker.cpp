#include "look/FrameTicker.h"

#include <algorithm>

namespace pomelark {

FrameTicker::FrameTicker(AnimationClock &clock, QObject *parent) : QObject(parent), m_clock(clock)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(frameInterval);
    connect(&m_timer, &QTimer::timeout, this, &FrameTicker::tick);
}

FrameTicker::~FrameTicker() = default;

FrameTicker &FrameTicker::shared()
{
    static FrameTicker ticker(AnimationClock::steady());
    return ticker;
}

void FrameTicker::add(FrameClient *client)
{
    if (!client || contains(client))
        return;
    m_clients.push_back(client);
    if (!m_timer.isActive())
        m_timer.start();
}

void FrameTicker::remove(FrameClient *client)
{
    // Nulled rather than erased: tick() may be walking the list right now.
    std::replace(m_clients.begin(), m_clients.end(), client, static_cast<FrameClient *>(nullptr));
    if (std::all_of(m_clients.begin(), m_clients.end(), [](const FrameClient *c) { return c == nullptr; }))
        m_timer.stop();
}

bool FrameTicker::contains(const FrameClient *client) const
{
    return std::find(m_clients.begin(), m_clients.end(), client) != m_clients.end();
}

void FrameTicker::tick()
{
    const std::chrono::nanoseconds now = m_clock.now();
    // Clients added during this frame join at the next one.
    const size_t count = m_clients.size();
    for (size_t i = 0; i < count; ++i) {
        if (FrameClient *client = m_clients[i])
            client->advanceTo(now);
    }
    std::erase(m_clients, nullptr);
    if (m_clients.empty())
        m_timer.stop();
}

} // namespace pomelark
