#include "platform/HeifWriter.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>

#include <gtest/gtest.h>

#include <sched.h>

#include <atomic>
#include <thread>

using namespace pomelark;
using namespace pomelark::test;

namespace {

QString allowedCpusOf(const QString &task)
{
    QFile status(QStringLiteral("/proc/self/task/%1/status").arg(task));
    if (!status.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("Cpus_allowed_list:"))
            return QString::fromLatin1(line.mid(18).trimmed());
    return {};
}

QSet<QString> tasks()
{
    const QStringList names = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return {names.begin(), names.end()};
}

} // namespace

// x265 sizes its pool from the whole machine and moves its threads onto the
// whole NUMA node: an encode started on a thread held to one CPU must run no
// more threads than that CPU needs, all of them on it.
TEST(HeifWriterThreads, StayOnTheCpusOfTheThreadThatEncodes)
{
    cpu_set_t allowed;
    sched_getaffinity(0, sizeof(allowed), &allowed);
    if (CPU_COUNT(&allowed) < 2)
        GTEST_SKIP() << "one CPU: nowhere to escape to";
    int first = 0;
    while (!CPU_ISSET(first, &allowed))
        ++first;

    TempFolder folder;
    QImage noise(1024, 768, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        QRandomGenerator(quint32(y)).fillRange(reinterpret_cast<quint32 *>(noise.scanLine(y)), noise.width());

    std::atomic<int> stage{0}; // 1: held to one CPU, 2: go, 3: done
    std::thread encoding([&] {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(first, &one);
        sched_setaffinity(0, sizeof(one), &one);
        // Qt's pool threads for the colour conversion exist before the count starts.
        HeifWriter::write(noise, folder.filePath(QStringLiteral("warm.heic")), {.quality = 10});
        stage = 1;
        while (stage != 2)
            std::this_thread::yield();
        HeifWriter::write(noise, folder.filePath(QStringLiteral("noise.heic")), {.quality = 90});
        stage = 3;
    });
    while (stage != 1)
        std::this_thread::yield();
    const QSet<QString> before = tasks();
    const QString one = QString::number(first);
    stage = 2;
    qsizetype mostNew = 0;
    QSet<QString> escaped;
    while (stage != 3) {
        const QSet<QString> now = tasks() - before;
        mostNew = std::max(mostNew, now.size());
        for (const QString &task : now) {
            const QString cpus = allowedCpusOf(task);
            if (!cpus.isEmpty() && cpus != one)
                escaped << cpus;
        }
    }
    encoding.join();

    EXPECT_TRUE(escaped.isEmpty()) << "threads moved to CPUs " << qPrintable(QStringList(escaped.values()).join(' '));
    // One worker and one frame thread: x265 on one CPU.
    EXPECT_GE(mostNew, 1);
    EXPECT_LE(mostNew, 2);
}
