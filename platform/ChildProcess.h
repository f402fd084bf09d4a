#pragma once

class QProcess;

namespace pomelark {

/// Child processes that never outlive the program that started them.
class ChildProcess {
public:
    /// Makes `process`, once started, die by SIGKILL as soon as this program
    /// ends, however it ends (a crash or a kill included), so that no child goes
    /// on writing into the caches of an app that is gone. Call before start(),
    /// and start the process from a thread that lives as long as the program:
    /// the kernel signals the child when the thread that started it ends.
    static void dieWithParent(QProcess &process);

    /// Makes `process`, once started, inherit our open `descriptor` under the
    /// same number, though it stays closed on exec for every other child.
    /// Call before start(), after dieWithParent(), and keep the descriptor
    /// open until the process has started. A descriptor that is not open
    /// reaches the child closed.
    static void keepOpen(QProcess &process, int descriptor);
};

} // namespace pomelark
