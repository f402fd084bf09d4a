#include "app/AppRelauncher.h"

#include "platform/SystemLog.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

namespace pomelark {

bool AppRelauncher::relaunch(const QString &program, const QStringList &arguments, std::function<void()> quit)
{
    const bool started = QProcess::startDetached(program, arguments);
    if (!started)
        SystemLog::write(QStringLiteral("[AppRelauncher] could not start ") + program);
    QTimer::singleShot(0, QCoreApplication::instance(), std::move(quit));
    return started;
}

bool AppRelauncher::relaunchThisProgram()
{
    return relaunch(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1),
                    [] { QCoreApplication::quit(); });
}

} // namespace pomelark
