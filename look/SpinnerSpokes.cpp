#include "look/SpinnerSpokes.h"

#include "look/ActivitySpinner.h"

namespace pomelark {

SpinnerSpokes::SpinnerSpokes(FrameTicker &ticker, std::function<void()> onStep)
    : m_ticker(ticker), m_onStep(std::move(onStep))
{
}

SpinnerSpokes::~SpinnerSpokes()
{
    m_ticker.remove(this);
}

void SpinnerSpokes::setRunning(bool running)
{
    if (running == isRunning())
        return;
    if (!running) {
        m_ticker.remove(this);
        return;
    }
    m_leading = ActivitySpinner::leadingSpokeAt(m_ticker.now());
    m_ticker.add(this);
}

void SpinnerSpokes::advanceTo(std::chrono::nanoseconds now)
{
    const int leading = ActivitySpinner::leadingSpokeAt(now);
    if (leading == m_leading)
        return;
    m_leading = leading;
    if (m_onStep)
        m_onStep();
}

} // namespace pomelark
