#include "platform/CpuBudget.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace pomelark;

TEST(CpuBudget, TakesTheTightestQuotaOfTheProcesssCgroupAndThoseAboveIt)
{
    const QString v2 = QStringLiteral("sys/fs/cgroup/"), v1 = QStringLiteral("sys/fs/cgroup/cpu,cpuacct/");
    const QList<std::tuple<const char *, QStringList, std::optional<int>>> cases{
        {"v2, rounded up", {"0::/a.slice/b.scope", v2 + "a.slice/b.scope/cpu.max", "150000 100000"}, 2},
        {"v2, no limit", {"0::/b.scope", v2 + "b.scope/cpu.max", "max 100000"}, std::nullopt},
        {"v2, a parent's limit",
         {"0::/a.slice/b.scope", v2 + "a.slice/b.scope/cpu.max", "max 100000", v2 + "a.slice/cpu.max", "50000 100000"}, 1},
        {"v1", {"5:cpu,cpuacct:/batch\n2:memory:/other", v1 + "batch/cpu.cfs_quota_us", "300000",
                v1 + "batch/cpu.cfs_period_us", "100000"}, 3},
        {"v1, no limit", {"5:cpu,cpuacct:/", v1 + "cpu.cfs_quota_us", "-1", v1 + "cpu.cfs_period_us", "100000"},
         std::nullopt},
        // A container sees its own cgroup at the mount's root, not under its path.
        {"v1, in a container", {"4:cpu,cpuacct:/docker/0123abcd", v1 + "cpu.cfs_quota_us", "200000",
                                v1 + "cpu.cfs_period_us", "100000"}, 2},
    };
    for (const auto &[name, cgroupThenFiles, quota] : cases) {
        test::TempFolder root;
        for (qsizetype i = -1; i < cgroupThenFiles.size(); i += 2) {
            const QString path = root.filePath(i < 0 ? QStringLiteral("proc/self/cgroup") : cgroupThenFiles[i]);
            QDir().mkpath(QFileInfo(path).path());
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(cgroupThenFiles[i + 1].toUtf8() + '\n') > 0);
        }
        EXPECT_EQ(CpuBudget(root.path()).quota(), quota) << name;
        EXPECT_EQ(CpuBudget(root.path()).cpus(), std::min(QThread::idealThreadCount(), quota.value_or(1024))) << name;
    }
    EXPECT_EQ(CpuBudget(test::TempFolder().path()).quota(), std::nullopt) << "no cgroup file";
}
