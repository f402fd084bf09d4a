#include "platform/TerminationSignals.h"

#include "platform/SystemLog.h"

#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace pomelark {

namespace {

constexpr std::array<int, 3> handledSignals{SIGTERM, SIGINT, SIGHUP};
std::array<int, 2> wakePipe{-1, -1};
std::array<struct sigaction, 3> previousActions{};

// Only async-signal-safe calls here: one write that wakes the event loop.
void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakePipe[0], &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal_, QObject *parent)
    : QObject(parent), m_onSignal(std::move(onSignal_))
{
    if (wakePipe[0] != -1 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakePipe.data()) != 0) {
        SystemLog::write(QStringLiteral("[TerminationSignals] could not set up the signal handlers"));
        return;
    }
    m_notifier = new QSocketNotifier(wakePipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        if (::read(wakePipe[1], &byte, 1) == 1 && m_onSignal)
            m_onSignal();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < handledSignals.size(); ++i)
        ::sigaction(handledSignals[i], &action, &previousActions[i]);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    for (size_t i = 0; i < handledSignals.size(); ++i)
        ::sigaction(handledSignals[i], &previousActions[i], nullptr);
    delete m_notifier;
    ::close(wakePipe[0]);
    ::close(wakePipe[1]);
    wakePipe = {-1, -1};
}

} // namespace pomelark
