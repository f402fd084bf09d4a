#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace pomelark {

/// Starts a new instance of the program and ends this one, so a setting read
/// only at start (the display language) takes effect.
class AppRelauncher {
public:
    /// Starts `program` with `arguments` as a process of its own, then asks
    /// `quit` to end this instance, whether or not the start succeeded (the user
    /// can always start the program by hand). `quit` runs from the event loop,
    /// after the current event, so the normal quit handling follows.
    /// Returns whether the new instance started.
    static bool relaunch(const QString &program, const QStringList &arguments, std::function<void()> quit);

    /// The same executable with the same arguments; this instance quits through
    /// the application object.
    static bool relaunchThisProgram();
};

} // namespace pomelark
