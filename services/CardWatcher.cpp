#include "services/CardWatcher.h"

#include "platform/SystemLog.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <qcoro/qcorotimer.h>

namespace pomelark {

namespace {

/// A path with links and dots resolved where it exists, so a link into the card
/// is judged by the card.
QString standardPath(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

QCoro::Task<void> sleepFor(std::chrono::milliseconds duration)
{
    QTimer timer;
    timer.setSingleShot(true);
    timer.start(duration);
    co_await timer;
}

} // namespace

CardWatcher::CardWatcher(VolumeMonitor *monitor, QObject *parent)
    : QObject(parent), m_monitor(monitor), m_sleep(sleepFor)
{
    if (!m_monitor)
        m_monitor = new VolumeMonitor(Volumes(), this);
}

void CardWatcher::setSleep(Sleep sleep)
{
    m_sleep = sleep ? std::move(sleep) : Sleep(sleepFor);
}

CardWatcher::~CardWatcher()
{
    for (const QMetaObject::Connection &subscription : std::as_const(m_subscriptions))
        disconnect(subscription);
    disconnect(m_uuidLinkSubscription);
}

void CardWatcher::arm(const QUrl &folder)
{
    disarm();

    const QString path = folder.toLocalFile();
    const std::optional<Volume> volume =
        path.isEmpty() ? std::nullopt : Volumes::holding(m_monitor->volumes().mounted(), standardPath(path));
    if (!volume || volume->hidden || !(volume->removable || volume->ejectable)) {
        SystemLog::write(QStringLiteral("[CardWatcher] not armed \u2014 volume of ") + path
                         + QStringLiteral(" is not removable/ejectable"));
        return;
    }

    m_volumePath = QDir::cleanPath(volume->mountPath);
    m_volumeUuid = volume->uuid;
    SystemLog::write(QStringLiteral("[CardWatcher] armed for volume ") + *m_volumePath);

    m_subscriptions.append(connect(m_monitor, &VolumeMonitor::volumeUnmounted, this,
                                   [this](const Volume &changed) { handleVolumeChange(changed, false); }));
    m_subscriptions.append(connect(m_monitor, &VolumeMonitor::volumeMounted, this,
                                   [this](const Volume &changed) { handleVolumeChange(changed, true); }));
}

void CardWatcher::disarm()
{
    for (const QMetaObject::Connection &subscription : std::as_const(m_subscriptions))
        disconnect(subscription);
    m_subscriptions.clear();
    m_volumePath.reset();
    m_volumeUuid.clear();
    ++m_watch;
    setCardMissing(false);
}

void CardWatcher::handleVolumeChange(const Volume &volume, bool mounted)
{
    if (!m_volumePath || QDir::cleanPath(volume.mountPath) != *m_volumePath)
        return;
    ++m_watch;
    // udev may make the UUID link a moment after the mount, and nothing in the
    // mount table changes when it does: read the volume again shortly.
    if (mounted && m_cardMissing && !m_volumeUuid.isEmpty() && volume.uuid.isEmpty()) {
        recheckUuid(this, m_watch, volume.mountId);
        return;
    }
    // Only our own card coming back clears the flag: another card that mounts at
    // the same path is not it. A card without a UUID is judged by the path alone.
    // Going away is taken on the path unless both UUIDs are known and differ.
    const bool otherCard = mounted ? !m_volumeUuid.isEmpty() && volume.uuid != m_volumeUuid
                                   : !m_volumeUuid.isEmpty() && !volume.uuid.isEmpty() && volume.uuid != m_volumeUuid;
    if (otherCard)
        return;
    setCardMissing(!mounted);
}

QCoro::Task<void> CardWatcher::recheckUuid(QPointer<CardWatcher> self, quint64 watch, int mountId)
{
    const Sleep sleep = self->m_sleep;
    for (int read = 0;; ++read) {
        co_await sleep(read < uuidQuickRechecks ? uuidRecheckInterval : uuidSlowRecheckInterval);
        if (!self || self->m_watch != watch)
            co_return;
        const std::optional<Volume> volume = self->watchedMount(mountId);
        if (!volume)
            co_return; // gone again, which the monitor reports itself
        if (!volume->uuid.isEmpty()) {
            self->handleVolumeChange(*volume, true);
            co_return;
        }
    }
}

std::optional<Volume> CardWatcher::watchedMount(int mountId) const
{
    const QList<Volume> volumes = m_monitor->volumes().mounted();
    for (const Volume &volume : volumes) {
        if (volume.mountId == mountId && m_volumePath && QDir::cleanPath(volume.mountPath) == *m_volumePath)
            return volume;
    }
    return std::nullopt;
}

void CardWatcher::readUuidLinksAgain()
{
    if (!m_volumePath)
        return;
    const QList<Volume> volumes = m_monitor->volumes().mounted();
    for (const Volume &volume : volumes) {
        if (!volume.uuid.isEmpty() && QDir::cleanPath(volume.mountPath) == *m_volumePath) {
            handleVolumeChange(volume, true);
            return;
        }
    }
}

void CardWatcher::setCardMissing(bool missing)
{
    if (m_cardMissing == missing)
        return;
    m_cardMissing = missing;
    if (missing)
        m_uuidLinkSubscription = connect(m_monitor, &VolumeMonitor::uuidLinksChanged, this, &CardWatcher::readUuidLinksAgain);
    else
        disconnect(m_uuidLinkSubscription);
    Q_EMIT cardMissingChanged(m_cardMissing);
}

} // namespace pomelark
