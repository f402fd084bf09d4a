#include "platform/CpuBudget.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cmath>

namespace pomelark {

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().trimmed();
}

/// `quota` over `period` in CPUs; nothing for "max" (v2) or -1 (v1), which mean none.
std::optional<double> share(const QByteArray &quota, const QByteArray &period)
{
    bool quotaRead = false, periodRead = false;
    const double q = quota.toDouble(&quotaRead), p = period.toDouble(&periodRead);
    if (!quotaRead || !periodRead || q <= 0 || p <= 0)
        return std::nullopt;
    return q / p;
}

std::optional<double> quotaIn(const QString &dir, bool v2)
{
    if (v2) {
        const QList<QByteArray> words = contentOf(dir + QStringLiteral("/cpu.max")).split(' ');
        return words.size() == 2 ? share(words[0], words[1]) : std::nullopt;
    }
    return share(contentOf(dir + QStringLiteral("/cpu.cfs_quota_us")),
                 contentOf(dir + QStringLiteral("/cpu.cfs_period_us")));
}

/// The tightest quota from `mount` + `path` up to `mount`. A limit on a parent
/// binds its children too; and a container sees its own cgroup at the mount's
/// root rather than under the path the kernel names, so folders that do not
/// exist are passed over.
std::optional<double> tightestQuota(const QString &mount, QString path, bool v2)
{
    std::optional<double> tightest;
    for (;;) {
        const std::optional<double> here = quotaIn(mount + path, v2);
        if (here && (!tightest || *here < *tightest))
            tightest = here;
        if (path.isEmpty() || path == QStringLiteral("/"))
            return tightest;
        path.truncate(std::max<qsizetype>(0, path.lastIndexOf(QLatin1Char('/'))));
    }
}

} // namespace

CpuBudget::CpuBudget(QString root)
    : m_root(std::move(root))
{
}

std::optional<int> CpuBudget::quota() const
{
    const QDir root(m_root);
    const QString cgroups = root.filePath(QStringLiteral("sys/fs/cgroup"));
    std::optional<double> tightest;
    // Lines of "hierarchy:controllers:path"; the v2 line is "0::path".
    for (const QByteArray &line : contentOf(root.filePath(QStringLiteral("proc/self/cgroup"))).split('\n')) {
        const int first = line.indexOf(':'), second = line.indexOf(':', first + 1);
        if (first < 0 || second < 0)
            continue;
        const QString controllers = QString::fromLatin1(line.mid(first + 1, second - first - 1));
        const QString path = QString::fromUtf8(line.mid(second + 1));
        std::optional<double> here;
        if (line.startsWith("0:") && controllers.isEmpty())
            here = tightestQuota(cgroups, path, true);
        else if (controllers.split(QLatin1Char(',')).contains(QStringLiteral("cpu")))
            here = tightestQuota(cgroups + QLatin1Char('/') + controllers, path, false);
        if (here && (!tightest || *here < *tightest))
            tightest = here;
    }
    if (!tightest)
        return std::nullopt;
    return std::max(1, int(std::ceil(*tightest)));
}

int CpuBudget::cpus() const
{
    // Qt counts the calling thread's CPUs with sched_getaffinity, but knows nothing of quotas.
    const int allowed = QThread::idealThreadCount();
    return std::max(1, std::min(allowed, quota().value_or(allowed)));
}

} // namespace pomelark
