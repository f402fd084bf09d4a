#pragma once

// Before-and-after rounds for the drivers in this folder: a driver's `measure`
// mode prints one "figure NAME VALUE" line per figure; `compareRounds` runs it
// and another build of the same driver (such as one of main) in child
// processes, taking turns so both see the same background load, and prints the
// medians side by side with the load average seen before each run.

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace pomelark::bench {

/// The 1-, 5- and 15-minute load averages, as the kernel shows them.
inline QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

inline void printFigure(const QString &name, double value)
{
    std::printf("figure %s %.4f\n", qPrintable(name), value);
    std::fflush(stdout);
}

inline double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

using Figures = QMap<QString, QList<double>>;

/// Runs `program arguments` once and adds the figures it printed to `figures`;
/// returns false when it failed.
inline bool runMeasure(const QString &program, const QStringList &arguments, Figures &figures)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        return false;
    }
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> words = line.trimmed().split(' ');
        if (words.size() == 3 && words[0] == "figure")
            figures[QString::fromLatin1(words[1])].append(words[2].toDouble());
    }
    return true;
}

/// `rounds` rounds of `before` and `after` (each `program measure …`), taking
/// turns (the first of a round alternates), then one line per figure with both
/// medians. Returns false when a run failed.
inline bool compareRounds(const QString &before, const QString &after, const QStringList &measureArguments,
                          int rounds)
{
    Figures beforeFigures;
    Figures afterFigures;
    for (int round = 1; round <= rounds; ++round) {
        const bool beforeFirst = round % 2 == 1;
        for (int turn = 0; turn < 2; ++turn) {
            const bool isBefore = (turn == 0) == beforeFirst;
            std::printf("round %d %-6s load %s\n", round, isBefore ? "before" : "after", qPrintable(loadAverage()));
            std::fflush(stdout);
            if (!runMeasure(isBefore ? before : after, measureArguments, isBefore ? beforeFigures : afterFigures))
                return false;
        }
    }
    std::printf("load at the end %s\n\n%-28s %-26s %-26s\n", qPrintable(loadAverage()), "figure",
                "before: median (rounds)", "after: median (rounds)");
    const auto cell = [](const QList<double> &values) -> QString {
        QString text = QString::number(median(values), 'f', 2) + QStringLiteral(" (");
        for (qsizetype i = 0; i < values.size(); ++i)
            text += (i ? QStringLiteral(" ") : QString()) + QString::number(values[i], 'f', 1);
        return text + QLatin1Char(')');
    };
    for (auto it = afterFigures.cbegin(); it != afterFigures.cend(); ++it)
        std::printf("%-28s %-26s %-26s\n", qPrintable(it.key()), qPrintable(cell(beforeFigures.value(it.key()))),
                    qPrintable(cell(it.value())));
    return true;
}

/// The `compare DIR OTHER [rounds=3]` command of a driver: OTHER and this
/// program, each run as `measure DIR`. Returns the exit status.
inline int compareCommand(const QStringList &arguments)
{
    const bool done = compareRounds(arguments.value(3), QCoreApplication::applicationFilePath(),
                                    {QStringLiteral("measure"), arguments.value(2)},
                                    arguments.value(4, QStringLiteral("3")).toInt());
    return done ? 0 : 1;
}

} // namespace pomelark::bench
