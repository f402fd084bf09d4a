#include "look/MascotPauseRules.h"

#include <algorithm>

namespace pomelark {

MascotPauseRules::MascotPauseRules(bool appActive, std::function<bool()> anyWindowVisible)
    : m_anyWindowVisible(std::move(anyWindowVisible))
{
    m_state.appActive = appActive;
}

void MascotPauseRules::recompute()
{
    m_state.paused = !(m_state.appActive && !m_state.windowMoving && m_state.windowVisible);
}

void MascotPauseRules::setAppActive(bool active)
{
    m_state.appActive = active;
    recompute();
}

void MascotPauseRules::noteWindowMoving(Time now)
{
    m_state.windowMoving = true;
    recompute();
    // A newer report replaces the pending settle: the drag is still going on.
    m_moveSettle = now + moveSettleDelay;
}

void MascotPauseRules::occlusionChanged(Time now)
{
    if (m_anyWindowVisible()) {
        m_visibleSettle.reset();
        m_state.windowVisible = true;
        recompute();
        return;
    }
    if (m_state.windowVisible && !m_visibleSettle)
        m_visibleSettle = now + hideSettleDelay;
}

void MascotPauseRules::advanceTo(Time now)
{
    if (m_moveSettle && *m_moveSettle <= now) {
        m_moveSettle.reset();
        m_state.windowMoving = false;
        recompute();
    }
    if (m_visibleSettle && *m_visibleSettle <= now) {
        m_visibleSettle.reset();
        if (!m_anyWindowVisible() && m_state.windowVisible) {
            m_state.windowVisible = false;
            recompute();
        }
    }
}

std::optional<MascotPauseRules::Time> MascotPauseRules::nextDeadline() const
{
    if (m_moveSettle && m_visibleSettle)
        return std::min(*m_moveSettle, *m_visibleSettle);
    return m_moveSettle ? m_moveSettle : m_visibleSettle;
}

} // namespace pomelark
