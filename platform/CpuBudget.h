#pragma once

#include <QString>

#include <optional>

namespace pomelark {

/// How many CPUs this process may keep busy: those the calling thread may run
/// on, lowered to the CPU quota of the process's cgroup where one is set (a
/// container's or a service unit's CPU limit). Thread pools are sized from it,
/// not from the machine's processor count.
class CpuBudget {
public:
    /// `root` stands for "/": its proc/self/cgroup and sys/fs/cgroup are read.
    explicit CpuBudget(QString root = QStringLiteral("/"));

    /// The tightest CPU quota of the process's cgroup and those above it, in
    /// CPUs rounded up (cgroup v2 cpu.max, v1 cpu.cfs_quota_us over
    /// cpu.cfs_period_us); nothing when none is set or none can be read.
    std::optional<int> quota() const;

    /// The CPUs the calling thread may run on, at most the quota; at least 1.
    int cpus() const;

private:
    QString m_root;
};

} // namespace pomelark
