#include "platform/HeifWriter.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSet>

#include <gtest/gtest.h>

#include <sched.h>

#include <atomic>
#include <thread>

using namespace pomelark;

// x265 sizes its pool from the whole machine and moves its threads onto the
// whole NUMA node: an encode started on a thread held to one CPU must run no
// more threads than that CPU needs, all of them on it.
TEST(HeifWriterThreads, StayOnTheCpusOfTheThreadThatEncodes)
{
    cpu_set_t one;
    sched_getaffinity(0, sizeof(one), &one);
    if (CPU_COUNT(&one) < 2)
        GTEST_SKIP() << "one CPU: nowhere to escape to";
    int cpu = 0;
    while (!CPU_ISSET(cpu, &one))
        ++cpu;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);

    test::TempFolder folder;
    QImage noise(1024, 768, QImage::Format_RGB32);
    QRandomGenerator(1).fillRange(reinterpret_cast<quint32 *>(noise.bits()), noise.sizeInBytes() / 4);
    std::atomic<int> stage{0}; // 1: held to one CPU, 2: go, 3: done
    std::thread encoding([&] {
        sched_setaffinity(0, sizeof(one), &one);
        // Qt's pool threads for the colour conversion exist before the count starts.
        HeifWriter::write(noise, folder.filePath(QStringLiteral("warm.heic")), {.quality = 10});
        for (stage = 1; stage != 2;)
            std::this_thread::yield();
        HeifWriter::write(noise, folder.filePath(QStringLiteral("noise.heic")), {.quality = 90});
        stage = 3;
    });
    const auto tasks = [] {
        const QStringList names = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        return QSet<QString>(names.begin(), names.end());
    };
    while (stage != 1)
        std::this_thread::yield();
    const QSet<QString> before = tasks();
    stage = 2;
    qsizetype mostNew = 0;
    QSet<QByteArray> escaped;
    while (stage != 3) {
        const QSet<QString> now = tasks() - before;
        mostNew = std::max(mostNew, now.size());
        for (const QString &task : now) {
            QFile status(QStringLiteral("/proc/self/task/%1/status").arg(task));
            const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
            const qsizetype at = text.indexOf("Cpus_allowed_list:") + 18;
            const QByteArray cpus = at < 18 ? QByteArray() : text.mid(at, text.indexOf('\n', at) - at).trimmed();
            if (!cpus.isEmpty() && cpus != QByteArray::number(cpu))
                escaped << cpus;
        }
    }
    encoding.join();

    EXPECT_TRUE(escaped.isEmpty()) << "threads moved to CPUs " << escaped.values().join(' ').toStdString();
    // One worker and one frame thread: x265 on one CPU.
    EXPECT_GE(mostNew, 1);
    EXPECT_LE(mostNew, 2);
}
