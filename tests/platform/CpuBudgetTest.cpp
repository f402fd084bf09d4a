#include "platform/CpuBudget.h"

#include "support/TempFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QThread>

#include <gtest/gtest.h>

using namespace pomelark;

TEST(CpuBudget, TakesTheTightestQuotaOfTheProcesssCgroupAndThoseAboveIt)
{
    struct Case {
        const char *name;
        QMap<QString, QByteArray> files; // below the fake root
        std::optional<int> quota;
    };
    const QString v2 = QStringLiteral("sys/fs/cgroup/"), v1 = QStringLiteral("sys/fs/cgroup/cpu,cpuacct/");
    const QList<Case> cases{
        {"v2, rounded up", {{"proc/self/cgroup", "0::/a.slice/b.scope"}, {v2 + "a.slice/b.scope/cpu.max", "150000 100000"}}, 2},
        {"v2, no limit", {{"proc/self/cgroup", "0::/b.scope"}, {v2 + "b.scope/cpu.max", "max 100000"}}, std::nullopt},
        {"v2, a parent's limit",
         {{"proc/self/cgroup", "0::/a.slice/b.scope"}, {v2 + "a.slice/b.scope/cpu.max", "max 100000"},
          {v2 + "a.slice/cpu.max", "50000 100000"}}, 1},
        {"v1", {{"proc/self/cgroup", "5:cpu,cpuacct:/batch\n2:memory:/other"},
                {v1 + "batch/cpu.cfs_quota_us", "300000"}, {v1 + "batch/cpu.cfs_period_us", "100000"}}, 3},
        {"v1, no limit", {{"proc/self/cgroup", "5:cpu,cpuacct:/"}, {v1 + "cpu.cfs_quota_us", "-1"},
                          {v1 + "cpu.cfs_period_us", "100000"}}, std::nullopt},
        // A container sees its own cgroup at the mount's root, not under its path.
        {"v1, in a container", {{"proc/self/cgroup", "4:cpu,cpuacct:/docker/0123abcd"},
                                {v1 + "cpu.cfs_quota_us", "200000"}, {v1 + "cpu.cfs_period_us", "100000"}}, 2},
        {"no cgroup file", {}, std::nullopt},
    };
    for (const Case &c : cases) {
        test::TempFolder root;
        for (auto file = c.files.begin(); file != c.files.end(); ++file) {
            QFile out(root.makeFolder(QFileInfo(file.key()).path()) + QLatin1Char('/') + QFileInfo(file.key()).fileName());
            ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(file.value() + '\n') > 0);
        }
        EXPECT_EQ(CpuBudget(root.path()).quota(), c.quota) << c.name;
        EXPECT_EQ(CpuBudget(root.path()).cpus(), std::min(QThread::idealThreadCount(), c.quota.value_or(1024))) << c.name;
    }
}
