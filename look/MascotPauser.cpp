#include "look/MascotPauser.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWindow>

#include <cmath>

namespace pomelark {

MascotPauser::MascotPauser(AnimationClock &clock, QObject *parent)
    : QObject(parent), m_clock(clock),
      m_rules(QGuiApplication::applicationState() == Qt::ApplicationActive, &MascotPauser::anyWindowVisible)
{
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_settleTimer, &QTimer::timeout, this, &MascotPauser::settle);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        apply([active = state == Qt::ApplicationActive](MascotPauseRules &rules) { rules.setAppActive(active); });
    }, Qt::QueuedConnection);
    qGuiApp->installEventFilter(this);
}

MascotPauser::~MascotPauser()
{
    if (qGuiApp)
        qGuiApp->removeEventFilter(this);
}

MascotPauser &MascotPauser::shared()
{
    // Never released, like the views that may observe it until the very end.
    static MascotPauser *pauser = new MascotPauser;
    return *pauser;
}

bool MascotPauser::anyWindowVisible()
{
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (const QWindow *window : windows) {
        if (window->isVisible() && window->isExposed() && !(window->windowStates() & Qt::WindowMinimized))
            return true;
    }
    return false;
}

bool MascotPauser::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWindowType())
        return false;
    switch (event->type()) {
    case QEvent::Move:
        post(&MascotPauser::onWindowMoved);
        break;
    case QEvent::Expose:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
    case QEvent::Close:
        post(&MascotPauser::onVisibilityReport);
        break;
    default:
        break;
    }
    return false;
}

void MascotPauser::post(void (MascotPauser::*handler)())
{
    QMetaObject::invokeMethod(this, handler, Qt::QueuedConnection);
}

void MascotPauser::onWindowMoved()
{
    apply([now = m_clock.now()](MascotPauseRules &rules) { rules.noteWindowMoving(now); });
}

void MascotPauser::onVisibilityReport()
{
    apply([now = m_clock.now()](MascotPauseRules &rules) { rules.occlusionChanged(now); });
}

void MascotPauser::settle()
{
    apply([now = m_clock.now()](MascotPauseRules &rules) { rules.advanceTo(now); });
}

template <typename Change>
void MascotPauser::apply(Change change)
{
    const MascotPauseRules::State before = m_rules.state();
    change(m_rules);
    const MascotPauseRules::State after = m_rules.state();
    // Only real changes are published, so a drag's stream of move reports does
    // not wake every observer on every report.
    if (after.appActive != before.appActive)
        Q_EMIT appActiveChanged(after.appActive);
    if (after.windowMoving != before.windowMoving)
        Q_EMIT windowMovingChanged(after.windowMoving);
    if (after.windowVisible != before.windowVisible)
        Q_EMIT windowVisibleChanged(after.windowVisible);
    if (after.paused != before.paused)
        Q_EMIT pausedChanged(after.paused);
    armTimer();
}

void MascotPauser::armTimer()
{
    const std::optional<MascotPauseRules::Time> deadline = m_rules.nextDeadline();
    if (!deadline) {
        m_settleTimer.stop();
        return;
    }
    // Rounded up: a timer that fires early finds nothing due and is re-armed.
    const double remainingMs = std::chrono::duration<double, std::milli>(*deadline - m_clock.now()).count();
    m_settleTimer.start(std::max(0, int(std::ceil(remainingMs))));
}

} // namespace pomelark
