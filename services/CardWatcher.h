#pragma once

#include "platform/VolumeMonitor.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QUrl>

#include <optional>

namespace pomelark {

/// Tells whether the memory card holding the session's source folder is still
/// mounted. Lives on the main thread.
///
/// Only removable or ejectable volumes are watched: a folder on an internal disk
/// is never reported missing. The card counts as back only when the volume that
/// mounts again at the watched path is the same file system (same UUID, where the
/// card has one): a different card mounted at that path leaves it missing.
class CardWatcher : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool cardMissing READ cardMissing NOTIFY cardMissingChanged)

public:
    /// Watches through `monitor`, or through a monitor of its own on the real
    /// mount table when none is given. The watcher does not own a given monitor.
    explicit CardWatcher(VolumeMonitor *monitor = nullptr, QObject *parent = nullptr);
    ~CardWatcher() override;

    /// True while the watched volume is unmounted and has not come back.
    bool cardMissing() const { return m_cardMissing; }

    /// Mount path of the watched volume; none while disarmed.
    std::optional<QString> volumePath() const { return m_volumePath; }

    /// Starts watching the volume that holds `folder`, replacing any earlier
    /// watch. Never fails: a folder whose volume cannot be found, or is neither
    /// removable nor ejectable, is logged and leaves the watcher disarmed.
    void arm(const QUrl &folder);

    /// Stops watching and clears `cardMissing`.
    void disarm();

    /// How many change subscriptions are held (two while armed, none otherwise).
    int subscriptionCount() const { return int(m_subscriptions.size()); }

Q_SIGNALS:
    /// Emitted when `cardMissing` takes a new value.
    void cardMissingChanged(bool cardMissing);

private:
    void handleVolumeChange(const Volume &volume, bool mounted);
    void setCardMissing(bool missing);

    VolumeMonitor *m_monitor = nullptr;
    bool m_cardMissing = false;
    std::optional<QString> m_volumePath;
    QString m_volumeUuid;   ///< file-system UUID of the watched card; empty when it has none
    QList<QMetaObject::Connection> m_subscriptions;
};

} // namespace pomelark
