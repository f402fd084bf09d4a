#include "platform/VolumeMonitor.h"

#include <QSocketNotifier>

namespace pomelark {

namespace {

bool sameVolume(const Volume &a, const Volume &b)
{
    // The UUID is left out on purpose: its link can appear a moment after the
    // mount, and that must not read as the volume leaving and coming back.
    return a.mountId == b.mountId && a.mountPath == b.mountPath && a.deviceId == b.deviceId && a.source == b.source;
}

bool listed(const QList<Volume> &volumes, const Volume &volume)
{
    return std::any_of(volumes.begin(), volumes.end(), [&](const Volume &other) { return sameVolume(other, volume); });
}

} // namespace

VolumeMonitor::VolumeMonitor(Volumes volumes, QObject *parent)
    : QObject(parent), m_volumes(std::move(volumes)), m_table(m_volumes.roots().mountInfo)
{
    m_known = m_volumes.mounted();
    // Only the real proc file raises the exceptional condition; a fake table
    // opens fine but never wakes the notifier, and tests call rescan() instead.
    if (m_table.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_notifier = new QSocketNotifier(m_table.handle(), QSocketNotifier::Exception, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &VolumeMonitor::rescan);
    }
    m_uuidLinks.addPath(m_volumes.roots().diskByUuid);
    connect(&m_uuidLinks, &QFileSystemWatcher::directoryChanged, this, &VolumeMonitor::uuidLinksChanged);
}

VolumeMonitor::~VolumeMonitor() = default;

void VolumeMonitor::rescan()
{
    const QList<Volume> now = m_volumes.mounted();
    if (now.isEmpty())
        return;
    const QList<Volume> before = std::exchange(m_known, now);
    // Unmounts first: a card swapped at the same path reads as leaving, then arriving.
    for (const Volume &volume : before) {
        if (!listed(now, volume))
            Q_EMIT volumeUnmounted(volume);
    }
    for (const Volume &volume : now) {
        if (!listed(before, volume))
            Q_EMIT volumeMounted(volume);
    }
}

} // namespace pomelark
