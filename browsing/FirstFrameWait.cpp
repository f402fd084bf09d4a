#include "browsing/FirstFrameWait.h"

namespace pomelark {

FirstFrameWait::FirstFrameWait(FrameTicker &ticker, std::function<void(Overdue)> onOverdue)
    : m_ticker(ticker), m_onOverdue(std::move(onOverdue))
{
}

FirstFrameWait::~FirstFrameWait()
{
    m_ticker.remove(this);
}

void FirstFrameWait::reset()
{
    end();
    m_replaced = false;
}

void FirstFrameWait::loaded()
{
    if (m_deadline)
        return;
    m_deadline = m_ticker.now() + limit;
    m_ticker.add(this);
}

void FirstFrameWait::end()
{
    m_deadline.reset();
    m_ticker.remove(this);
}

void FirstFrameWait::advanceTo(std::chrono::nanoseconds now)
{
    if (!m_deadline || now < *m_deadline)
        return;
    end();
    const Overdue overdue = m_replaced ? Overdue::giveUp : Overdue::newPlayer;
    m_replaced = true;
    m_onOverdue(overdue);
}

} // namespace pomelark
