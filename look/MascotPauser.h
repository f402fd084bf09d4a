#pragma once

#include "look/AnimationClock.h"
#include "look/MascotPauseRules.h"

#include <QObject>
#include <QTimer>

namespace pomelark {

/// Decides for the whole application whether the mascot's animations run: not
/// while the application is inactive, a window is being moved, or no window can
/// be seen (the rules are `MascotPauseRules`). It listens to the application's
/// state and to every top-level window's move, expose, show, hide and
/// window-state events, and draws nothing.
///
/// What the platform cannot tell is not guessed: a window covered by other
/// applications' windows still counts as visible (no occlusion reports on X11 or
/// Wayland), and on Wayland windows report no moves, so a drag does not pause.
/// A window counts as visible while it is shown, exposed and not minimised.
class MascotPauser : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool paused READ paused NOTIFY pausedChanged)
    Q_PROPERTY(bool appActive READ appActive NOTIFY appActiveChanged)
    Q_PROPERTY(bool windowVisible READ windowVisible NOTIFY windowVisibleChanged)
    Q_PROPERTY(bool windowMoving READ windowMoving NOTIFY windowMovingChanged)
public:
    /// Reads the application's current state and starts listening. Needs the
    /// application object. `paused` stays false until the first report arrives.
    explicit MascotPauser(AnimationClock &clock = AnimationClock::steady(), QObject *parent = nullptr);
    ~MascotPauser() override;

    /// The one pauser every mascot view and the main view observe; made on first
    /// use (after the application object) and kept for the life of the process.
    static MascotPauser &shared();

    bool paused() const { return m_rules.state().paused; }
    bool appActive() const { return m_rules.state().appActive; }
    bool windowVisible() const { return m_rules.state().windowVisible; }
    bool windowMoving() const { return m_rules.state().windowMoving; }

    /// Runs the move and hide delays that are due by the clock's time. The
    /// pauser's own timer calls it; tests call it after stepping their clock.
    void settle();

    /// Whether some top-level window of the application is shown, exposed and
    /// not minimised.
    static bool anyWindowVisible();

Q_SIGNALS:
    void pausedChanged(bool paused);
    void appActiveChanged(bool appActive);
    void windowVisibleChanged(bool windowVisible);
    void windowMovingChanged(bool windowMoving);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Runs `change` on the rules, then publishes what changed and re-arms the timer.
    template <typename Change>
    void apply(Change change);
    // Queued, like the platform's notifications: window state is settled by then.
    void post(void (MascotPauser::*handler)());
    void onWindowMoved();
    void onVisibilityReport();
    void armTimer();

    AnimationClock &m_clock;
    MascotPauseRules m_rules;
    QTimer m_settleTimer;
};

} // namespace pomelark
