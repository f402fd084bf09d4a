#include "platform/ChildProcess.h"

#include <QProcess>

#include <csignal>
#include <functional>

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace pomelark {

void ChildProcess::dieWithParent(QProcess &process)
{
    const pid_t parent = ::getpid();
    // Runs in the child between fork and exec, so only async-signal-safe calls.
    process.setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        // A parent that died before the line above never sends the signal: the
        // child has been handed to another process by now, so it ends itself.
        if (::getppid() != parent)
            ::_exit(127);
    });
}

void ChildProcess::keepOpen(QProcess &process, int descriptor)
{
    // A process has one modifier: this one runs the one set before it first.
    const std::function<void()> before = process.childProcessModifier();
    process.setChildProcessModifier([before, descriptor] {
        if (before)
            before();
        // The child's own copy of the table: the flag stays set in ours.
        ::fcntl(descriptor, F_SETFD, 0);
    });
}

} // namespace pomelark
