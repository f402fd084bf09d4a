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
    const int cpu = sched_getcpu();
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);
    test::TempFolder folder;
    QImage noise(1024, 768, QImage::Format_RGB32);
    QRandomGenerator(1).fillRange(reinterpret_cast<quint32 *>(noise.bits()), noise.sizeInBytes() / 4);
    const auto tasks = [] {
        const QStringList names = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        return QSet<QString>(names.begin(), names.end());
    };
    QSet<QString> before;
    std::atomic<int> stage = 0; // 1: counting, 2: done
    std::thread encoding([&] {
        sched_setaffinity(0, sizeof(one), &one);
        // Qt's pool threads for the colour conversion exist before the count starts.
        HeifWriter::write(noise, folder.filePath(QStringLiteral("warm.heic")), {.quality = 10});
        before = tasks();
        stage = 1;
        HeifWriter::write(noise, folder.filePath(QStringLiteral("noise.heic")), {.quality = 90});
        stage = 2;
    });
    qsizetype mostNew = 0;
    QSet<QByteArray> escaped;
    while (stage != 2) {
        const QSet<QString> added = stage == 1 ? tasks() - before : QSet<QString>();
        mostNew = std::max(mostNew, added.size());
        for (const QString &task : added) {
            QFile status(QStringLiteral("/proc/self/task/%1/status").arg(task));
            for (const QByteArray &line : (status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray()).split('\n'))
                if (line.startsWith("Cpus_allowed_list:") && line.mid(18).trimmed() != QByteArray::number(cpu))
                    escaped << line.mid(18).trimmed();
        }
    }
    encoding.join();
    EXPECT_TRUE(escaped.isEmpty()) << "threads moved to CPUs " << escaped.values().join(' ').toStdString();
    EXPECT_GE(mostNew, 1);
    EXPECT_LE(mostNew, 2) << "x265 on one CPU needs a worker and a frame thread";
}
