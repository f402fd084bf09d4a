#include "look/AnimatedValue.h"

namespace pomelark {

AnimatedValue::AnimatedValue(double initial, FrameTicker &ticker) : m_ticker(ticker), m_from(initial), m_to(initial) {}

AnimatedValue::~AnimatedValue()
{
    m_ticker.remove(this);
}

double AnimatedValue::valueAt(std::chrono::nanoseconds time) const
{
    if (!m_animation)
        return m_to;
    return m_animation->valueAt(secondsBetween(m_start, time), m_from, m_to, m_startVelocity);
}

double AnimatedValue::value() const
{
    return valueAt(m_ticker.now());
}

double AnimatedValue::velocity() const
{
    if (!m_animation)
        return 0.0;
    const std::chrono::nanoseconds now = m_ticker.now();
    constexpr std::chrono::microseconds step{500};
    const auto before = now - step < m_start ? m_start : now - step;
    const double span = secondsBetween(before, now + step);
    return (valueAt(now + step) - valueAt(before)) / span;
}

void AnimatedValue::animateTo(double target, const Animation &animation)
{
    if (target == m_to)
        return;
    const double from = value();
    const double speed = velocity();
    m_from = from;
    m_to = target;
    m_startVelocity = speed;
    m_start = m_ticker.now();
    m_animation = animation;
    m_ticker.add(this);
}

void AnimatedValue::setValue(double target)
{
    const bool changed = m_animation || target != m_to;
    m_animation.reset();
    m_ticker.remove(this);
    m_from = m_to = target;
    m_startVelocity = 0;
    if (changed)
        notify();
}

void AnimatedValue::advanceTo(std::chrono::nanoseconds now)
{
    if (!m_animation) {
        m_ticker.remove(this);
        return;
    }
    if (m_animation->isFinishedAt(secondsBetween(m_start, now), m_from, m_to, m_startVelocity)) {
        m_animation.reset();
        m_from = m_to;
        m_ticker.remove(this);
    }
    notify();
}

void AnimatedValue::notify()
{
    if (m_onChange)
        m_onChange();
}

} // namespace pomelark
