#pragma once

#include "platform/VolumeMonitor.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <functional>
#include <optional>

namespace pomelark {

/// Tells whether the memory card holding the session's source folder is still
/// mounted. Lives on the main thread.
///
/// Only removable or ejectable volumes are watched: a folder on an internal disk
/// is never reported missing. The card counts as back only when the volume that
/// mounts again at the watched path is the same file system (same UUID, where the
/// card has one): a different card mounted at that path leaves it missing. A
/// card whose UUID link is not there yet when it mounts is read again when the
/// link folder changes and by itself, often at first and then slowly, for as
/// long as it stays missing.
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

    /// Resumes once `duration` has passed.
    using Sleep = std::function<QCoro::Task<void>(std::chrono::milliseconds duration)>;
    /// How the watcher waits between reads of a card that came back before its
    /// UUID link; real time unless a test steps it.
    void setSleep(Sleep sleep);

    /// A card mounted again at the watched path without a UUID link yet (udev
    /// makes it a moment after the mount) is read again this often for the
    /// first reads, then at the slow interval (a loaded system may take long),
    /// until its UUID tells whether it is the watched card.
    static constexpr std::chrono::milliseconds uuidRecheckInterval{500};
    static constexpr int uuidQuickRechecks = 20;
    static constexpr std::chrono::milliseconds uuidSlowRecheckInterval{5000};

Q_SIGNALS:
    /// Emitted when `cardMissing` takes a new value.
    void cardMissingChanged(bool cardMissing);

private:
    void handleVolumeChange(const Volume &volume, bool mounted);
    void setCardMissing(bool missing);
    /// Judges the mount at the watched path again once its UUID link is there.
    void readUuidLinksAgain();
    /// Reads the volume of mount `mountId` again after each pause until it has
    /// a UUID, then judges it by that; ends early when the watch moved on.
    static QCoro::Task<void> recheckUuid(QPointer<CardWatcher> self, quint64 watch, int mountId);
    /// The mount `mountId` at the watched path as the table reads now.
    std::optional<Volume> watchedMount(int mountId) const;

    VolumeMonitor *m_monitor = nullptr;
    bool m_cardMissing = false;
    std::optional<QString> m_volumePath;
    QString m_volumeUuid;   ///< file-system UUID of the watched card; empty when it has none
    QList<QMetaObject::Connection> m_subscriptions;
    /// Held only while the card is missing: link changes tell nothing otherwise.
    QMetaObject::Connection m_uuidLinkSubscription;
    Sleep m_sleep;
    /// Bumped by arming, disarming and each change at the watched path, so a
    /// pending re-read of an older mount ends.
    quint64 m_watch = 0;
};

} // namespace pomelark
