#include "platform/ChildProcess.h"

#include <QProcess>

#include <csignal>

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

} // namespace pomelark
