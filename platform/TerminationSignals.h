#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace pomelark {

/// Turns SIGTERM, SIGINT and SIGHUP (a logout, `kill`, Ctrl+C in a terminal)
/// into a call from the event loop, so the program ends through its ordinary
/// quit, clean-up included, instead of on the spot.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    /// Installs the handlers; `onSignal` runs on this object's thread once per
    /// signal received. One instance at a time. If the handlers cannot be set
    /// up, the signals keep their previous behaviour.
    explicit TerminationSignals(std::function<void()> onSignal, QObject *parent = nullptr);
    /// Puts the previous handlers back.
    ~TerminationSignals() override;

    /// Whether the handlers are in place.
    bool isActive() const { return m_notifier != nullptr; }

private:
    std::function<void()> m_onSignal;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace pomelark
