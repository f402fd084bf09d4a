#include "look/Presence.h"

namespace pomelark {

Presence::Presence(Transition transition, FrameTicker &ticker) : m_transition(transition), m_progress(0.0, ticker) {}

void Presence::insert(const Animation &animation)
{
    m_progress.animateTo(1.0, animation);
}

void Presence::remove(const Animation &animation)
{
    m_progress.animateTo(0.0, animation);
}

void Presence::setPresent(bool present)
{
    m_progress.setValue(present ? 1.0 : 0.0);
}

Transition::Frame Presence::frame(QSizeF size, bool rightToLeft) const
{
    return m_transition.frameAt(m_progress.value(), size, rightToLeft);
}

} // namespace pomelark
