#include "services/CardWatcher.h"

#include "platform/SystemLog.h"

#include <QDir>
#include <QFileInfo>

namespace pomelark {

namespace {

/// A path with links and dots resolved where it exists, so a link into the card
/// is judged by the card.
QString standardPath(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

} // namespace

CardWatcher::CardWatcher(VolumeMonitor *monitor, QObject *parent) : QObject(parent), m_monitor(monitor)
{
    if (!m_monitor)
        m_monitor = new VolumeMonitor(Volumes(), this);
}

CardWatcher::~CardWatcher()
{
    for (const QMetaObject::Connection &subscription : std::as_const(m_subscriptions))
        disconnect(subscription);
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
    setCardMissing(false);
}

void CardWatcher::handleVolumeChange(const Volume &volume, bool mounted)
{
    if (!m_volumePath || QDir::cleanPath(volume.mountPath) != *m_volumePath)
        return;
    // Only our own card coming back clears the flag: another card that mounts at
    // the same path is not it. A card without a UUID is judged by the path alone.
    // Going away is taken on the path unless both UUIDs are known and differ.
    const bool otherCard = mounted ? !m_volumeUuid.isEmpty() && volume.uuid != m_volumeUuid
                                   : !m_volumeUuid.isEmpty() && !volume.uuid.isEmpty() && volume.uuid != m_volumeUuid;
    if (otherCard)
        return;
    setCardMissing(!mounted);
}

void CardWatcher::setCardMissing(bool missing)
{
    if (m_cardMissing == missing)
        return;
    m_cardMissing = missing;
    Q_EMIT cardMissingChanged(m_cardMissing);
}

} // namespace pomelark
