#pragma once

#include <QDBusConnection>
#include <QList>
#include <QUrl>

#include <functional>

namespace pomelark {

/// Shows files in the desktop's file manager: a window opened on their folder
/// with them selected, through the freedesktop FileManager1 service on the
/// session bus. Where no file manager answers there, the folder of the first
/// file is opened instead (without a selection). Main thread only.
class FileManager {
public:
    /// How the fallback opens a folder; `QDesktopServices::openUrl` unless a test
    /// replaces it.
    using FolderOpener = std::function<void(const QUrl &folder)>;

    /// Asks the file manager to show `items` (local file URLs) and returns at
    /// once; a file manager that refuses or is missing leads to the fallback.
    /// Empty lists and non-local URLs are ignored. Never fails visibly: if even
    /// the folder cannot be opened, nothing happens.
    static void showItems(const QList<QUrl> &items);

    /// The same with a chosen fallback opener, D-Bus service name and bus (tests
    /// run a stand-in file manager on a bus of their own).
    static void showItems(const QList<QUrl> &items, FolderOpener openFolder, const QString &service,
                          QDBusConnection bus);

    /// The folder the fallback opens for `item`: its parent folder.
    static QUrl fallbackFolder(const QUrl &item);

    static inline const QString defaultService = QStringLiteral("org.freedesktop.FileManager1");
};

} // namespace pomelark
