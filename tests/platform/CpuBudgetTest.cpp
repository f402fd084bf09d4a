#include "platform/CpuBudget.h"

#include "support/TempFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <gtest/gtest.h>

#include <sched.h>

using namespace pomelark;
using namespace pomelark::test;

TEST(CpuBudget, TakesTheTightestQuotaOfTheProcesssCgroupAndThoseAboveIt)
{
    struct Case {
        const char *name;
        QByteArray cgroup; // /proc/self/cgroup
        QMap<QString, QByteArray> files; // below sys/fs/cgroup
        std::optional<int> quota;
    };
    const QList<Case> cases{
        {"v2, rounded up", "0::/user.slice/app.scope\n", {{"user.slice/app.scope/cpu.max", "150000 100000\n"}}, 2},
        {"v2, no limit", "0::/app.scope\n", {{"app.scope/cpu.max", "max 100000\n"}}, std::nullopt},
        {"v2, a parent's limit", "0::/user.slice/app.scope\n",
         {{"user.slice/app.scope/cpu.max", "max 100000\n"}, {"user.slice/cpu.max", "50000 100000\n"}}, 1},
        {"v1, joined controllers", "5:cpu,cpuacct:/batch\n2:memory:/other\n",
         {{"cpu,cpuacct/batch/cpu.cfs_quota_us", "300000\n"}, {"cpu,cpuacct/batch/cpu.cfs_period_us", "100000\n"}}, 3},
        {"v1, no limit", "1:cpu:/\n", {{"cpu/cpu.cfs_quota_us", "-1\n"}, {"cpu/cpu.cfs_period_us", "100000\n"}},
         std::nullopt},
        // A container sees its own cgroup at the mount's root, not under its path.
        {"v1, in a container", "4:cpu,cpuacct:/docker/0123abcd\n",
         {{"cpu,cpuacct/cpu.cfs_quota_us", "200000\n"}, {"cpu,cpuacct/cpu.cfs_period_us", "100000\n"}}, 2},
        {"hybrid, the v2 tree has no cpu controller", "1:cpu:/\n0::/init.scope\n", {}, std::nullopt},
        {"no cgroup file", {}, {}, std::nullopt},
    };
    for (const Case &c : cases) {
        TempFolder root;
        if (!c.cgroup.isEmpty()) {
            root.makeFolder(QStringLiteral("proc/self"));
            QFile cgroup(root.filePath(QStringLiteral("proc/self/cgroup")));
            ASSERT_TRUE(cgroup.open(QIODevice::WriteOnly) && cgroup.write(c.cgroup) == c.cgroup.size());
        }
        for (auto file = c.files.begin(); file != c.files.end(); ++file) {
            const QString path = root.filePath(QStringLiteral("sys/fs/cgroup/") + file.key());
            root.makeFolder(QFileInfo(path).path().mid(root.path().size() + 1));
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(file.value()) == file.value().size());
        }
        EXPECT_EQ(CpuBudget(root.path()).quota(), c.quota) << c.name;
        if (c.quota == 1)
            EXPECT_EQ(CpuBudget(root.path()).cpus(), 1) << c.name;
    }
    cpu_set_t allowed;
    sched_getaffinity(0, sizeof(allowed), &allowed);
    EXPECT_EQ(CpuBudget(TempFolder().path()).cpus(), CPU_COUNT(&allowed));
}
