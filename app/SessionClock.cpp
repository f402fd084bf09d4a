#include "app/SessionClock.h"

#include <QTimer>

#include <qcoro/qcorotimer.h>

#include <algorithm>

namespace pomelark {

namespace {

class SteadySessionClock : public SessionClock {
public:
    std::chrono::nanoseconds now() const override
    {
        return std::chrono::steady_clock::now().time_since_epoch();
    }

    QDateTime wallNow() const override { return QDateTime::currentDateTime(); }

    QCoro::Task<void> sleep(std::chrono::nanoseconds duration) override
    {
        // Rounded up, and precise rather than coarse: the pacing rules say "at
        // least", and a coarse timer may fire up to 5 % early.
        const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(duration);
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        timer.start(std::max(milliseconds, std::chrono::milliseconds(0)));
        co_await timer;
    }
};

} // namespace

SessionClock &SessionClock::steady()
{
    static SteadySessionClock clock;
    return clock;
}

} // namespace pomelark
