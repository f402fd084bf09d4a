#pragma once

#include "platform/Volumes.h"

#include <QFile>
#include <QFileSystemWatcher>
#include <QObject>

class QSocketNotifier;

namespace pomelark {

/// Reports mounts and unmounts as they happen, on the thread that made it.
///
/// The kernel flags the mount table file with an exceptional condition whenever
/// the table changes; a socket notifier of the exception type wakes us, the
/// table is read again and compared with the last one. Each volume that appeared
/// is reported as mounted, each that went away as unmounted (a volume is the same
/// when its mount id, mount path, device and source are).
///
/// A table that cannot be read, or reads empty, is taken as a failed read: the
/// last known table stays and nothing is reported, so a passing read error never
/// looks like every card being pulled.
///
/// The folder of UUID links is watched too: udev makes a volume's link a moment
/// after the mount, and the mount table does not change when it does.
class VolumeMonitor : public QObject {
    Q_OBJECT

public:
    explicit VolumeMonitor(Volumes volumes = Volumes(), QObject *parent = nullptr);
    ~VolumeMonitor() override;

    const Volumes &volumes() const { return m_volumes; }

    /// The table as last read.
    const QList<Volume> &known() const { return m_known; }

    /// Reads the table again now and reports what changed. The notifier calls
    /// this; tests call it after rewriting a fake table.
    void rescan();

Q_SIGNALS:
    void volumeMounted(const pomelark::Volume &volume);
    void volumeUnmounted(const pomelark::Volume &volume);
    /// A UUID link came or went. Never emitted where the link folder does not
    /// exist when the monitor is made.
    void uuidLinksChanged();

private:
    Volumes m_volumes;
    QList<Volume> m_known;
    QFile m_table;
    QSocketNotifier *m_notifier = nullptr;
    QFileSystemWatcher m_uuidLinks;
};

} // namespace pomelark
