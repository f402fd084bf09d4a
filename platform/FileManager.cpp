#include "platform/FileManager.h"

#include "platform/SystemLog.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>

namespace pomelark {

QUrl FileManager::fallbackFolder(const QUrl &item)
{
    return QUrl::fromLocalFile(QFileInfo(item.toLocalFile()).absolutePath());
}

void FileManager::showItems(const QList<QUrl> &items)
{
    showItems(items, [](const QUrl &folder) { QDesktopServices::openUrl(folder); }, defaultService,
              QDBusConnection::sessionBus());
}

void FileManager::showItems(const QList<QUrl> &items, FolderOpener openFolder, const QString &service,
                            QDBusConnection bus)
{
    QStringList uris;
    for (const QUrl &item : items) {
        if (item.isLocalFile())
            uris << item.toString(QUrl::FullyEncoded);
    }
    if (uris.isEmpty())
        return;
    const QUrl folder = fallbackFolder(QUrl(uris.first()));
    if (!bus.isConnected()) {
        openFolder(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/FileManager1"),
                                                       QStringLiteral("org.freedesktop.FileManager1"),
                                                       QStringLiteral("ShowItems"));
    call << uris << QString();
    // Asynchronous: a file manager started on demand may take a while to answer,
    // and the window must not wait for it.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [watcher, folder, openFolder = std::move(openFolder)] {
                         const QDBusPendingReply<> reply = *watcher;
                         if (reply.isError()) {
                             SystemLog::write(QStringLiteral("[FileManager] ShowItems failed: ") +
                                              reply.error().message());
                             openFolder(folder);
                         }
                         watcher->deleteLater();
                     });
}

} // namespace pomelark
