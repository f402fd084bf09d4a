#pragma once

// What the memory drivers read of their own process, and how they run one
// measurement in a process of its own.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace pomelark::bench {

/// A field of /proc/self/status in KiB ("VmHWM:", "VmRSS:"); -1 when it cannot be read.
inline qint64 statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

/// Starts the process's peak (VmHWM) afresh from what it holds now.
inline void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

/// What `program` run with `arguments` printed, trimmed; "crashed" when it
/// did not end well.
inline QString runChild(const QString &program, const QStringList &arguments)
{
    QProcess child;
    child.start(program, arguments);
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return QStringLiteral("crashed");
    return QString::fromUtf8(child.readAllStandardOutput()).trimmed();
}

} // namespace pomelark::bench
