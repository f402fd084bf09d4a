#include "look/FrameTimeline.h"

#include <algorithm>

namespace pomelark {

namespace {

// Ticks jitter by a millisecond or two; a frame a little early still counts, or
// a 30-a-second timeline on a 60-a-second ticker would drop to 20.
constexpr std::chrono::milliseconds earlyTolerance{4};

} // namespace

FrameTimeline::FrameTimeline(int framesPerSecond, FrameTicker &ticker, QObject *parent)
    : QObject(parent), m_ticker(ticker),
      m_interval(std::chrono::nanoseconds(std::chrono::seconds(1)) / std::clamp(framesPerSecond, 1, 60))
{
}

FrameTimeline::~FrameTimeline()
{
    m_ticker.remove(this);
}

void FrameTimeline::start()
{
    if (m_running)
        return;
    m_running = true;
    if (!m_paused)
        deliver(m_ticker.now());
    updateRegistration();
}

void FrameTimeline::stop()
{
    m_running = false;
    updateRegistration();
}

void FrameTimeline::setPaused(bool paused)
{
    if (paused == m_paused)
        return;
    m_paused = paused;
    if (!m_paused && m_running)
        deliver(m_ticker.now());
    updateRegistration();
}

void FrameTimeline::advanceTo(std::chrono::nanoseconds now)
{
    if (!m_running || m_paused)
        return;
    if (now + earlyTolerance >= m_nextDue)
        deliver(now);
}

void FrameTimeline::deliver(std::chrono::nanoseconds now)
{
    m_date = now;
    // Keep to the grid while on time; after a stall start a fresh one.
    m_nextDue = (now - m_nextDue < m_interval) ? m_nextDue + m_interval : now + m_interval;
    Q_EMIT frame(now);
}

void FrameTimeline::updateRegistration()
{
    if (m_running && !m_paused)
        m_ticker.add(this);
    else
        m_ticker.remove(this);
}

} // namespace pomelark
