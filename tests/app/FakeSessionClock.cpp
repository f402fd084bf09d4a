#include "FakeSessionClock.h"

#include <QMetaObject>

#include <algorithm>

namespace pomelark::test {

QDateTime FakeSessionClock::wallNow() const
{
    static const QDateTime origin = QDateTime(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC);
    return origin.addMSecs(std::chrono::duration_cast<std::chrono::milliseconds>(m_now).count());
}

QCoro::Task<void> FakeSessionClock::sleep(std::chrono::nanoseconds duration)
{
    auto outcome = std::make_shared<SharedOutcome<bool>>();
    m_sleepers.append({m_now + std::max(duration, std::chrono::nanoseconds{0}), outcome});
    scheduleAdvance();
    co_await outcome->wait();
}

void FakeSessionClock::at(std::chrono::nanoseconds when, std::function<void()> action)
{
    m_actions.append({when, std::move(action)});
}

void FakeSessionClock::scheduleAdvance()
{
    QMetaObject::invokeMethod(&m_context, [this] { advance(); }, Qt::QueuedConnection);
}

void FakeSessionClock::advance()
{
    if (m_sleepers.isEmpty())
        return;
    const auto sleeper = std::min_element(m_sleepers.begin(), m_sleepers.end(),
                                          [](const Sleeper &a, const Sleeper &b) { return a.wake < b.wake; });
    const auto action = std::min_element(m_actions.begin(), m_actions.end(),
                                         [](const Action &a, const Action &b) { return a.when < b.when; });
    if (action != m_actions.end() && action->when <= sleeper->wake) {
        // The action runs first; the sleeper gets its turn after what the action
        // set off has had one turn of the event loop.
        m_now = std::max(m_now, action->when);
        const std::function<void()> run = action->run;
        m_actions.erase(action);
        run();
        scheduleAdvance();
        return;
    }
    m_now = std::max(m_now, sleeper->wake);
    const auto outcome = sleeper->outcome;
    m_sleepers.erase(sleeper);
    outcome->setValue(true);
}

} // namespace pomelark::test
