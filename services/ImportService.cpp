#include "services/ImportService.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace pomelark {

ScanError::ScanError(const QString &folder)
    : std::runtime_error("The folder could not be read: " + folder.toStdString()), folder(folder)
{
}

const QSet<QString> &ImportService::photoExtensions()
{
    static const QSet<QString> extensions = {QStringLiteral("jpg"), QStringLiteral("jpeg")};
    return extensions;
}

const QSet<QString> &ImportService::videoExtensions()
{
    static const QSet<QString> extensions = {QStringLiteral("avi"), QStringLiteral("mov"),
                                             QStringLiteral("mp4")};
    return extensions;
}

std::optional<QUrl> ImportService::findCardFolder() const
{
    for (const Volume &volume : m_volumes.mounted()) {
        if (volume.hidden || !(volume.removable || volume.ejectable))
            continue;
        const QString dcim = QDir(volume.mountPath).filePath(QStringLiteral("DCIM"));
        if (QFileInfo(dcim).isDir())
            return QUrl::fromLocalFile(dcim);
        return QUrl::fromLocalFile(volume.mountPath);
    }
    return std::nullopt;
}

ImportService::ScanResult ImportService::scan(const QUrl &folder) const
{
    const QString root = QDir::cleanPath(folder.toLocalFile());
    const QFileInfo rootInfo(root);
    if (root.isEmpty() || !rootInfo.isDir() || !rootInfo.isReadable() || !rootInfo.isExecutable())
        throw ScanError(root);

    struct Found {
        QByteArray sortKey;
        MediaItem item;
    };
    QList<Found> photos;
    QList<Found> videos;

    // Hidden entries are left out by not asking for QDir::Hidden; QDir::System
    // brings dangling links along.
    const QDir::Filters filters = QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot;
    QStringList pending{root};
    while (!pending.isEmpty()) {
        const QDir dir(pending.takeLast());
        const QFileInfoList entries = dir.entryInfoList(filters, QDir::NoSort);
        for (const QFileInfo &entry : entries) {
            if (entry.isSymLink()) {
                if (entry.isDir())
                    continue; // links to folders are not followed
            } else if (entry.isDir()) {
                pending.append(entry.filePath());
                continue;
            }
            const QString extension = entry.suffix().toLower();
            MediaItem::Kind kind;
            if (photoExtensions().contains(extension))
                kind = MediaItem::Kind::photo;
            else if (videoExtensions().contains(extension))
                kind = MediaItem::Kind::video;
            else
                continue;
            const QString path = entry.filePath();
            Found found{path.toUtf8(), MediaItem{QUuid::createUuid(), QUrl::fromLocalFile(path), kind}};
            (kind == MediaItem::Kind::photo ? photos : videos).append(std::move(found));
        }
    }

    // UTF-8 byte order is code-point order: case-sensitive, no locale, no numbers.
    const auto byPath = [](const Found &a, const Found &b) { return a.sortKey < b.sortKey; };
    std::sort(photos.begin(), photos.end(), byPath);
    std::sort(videos.begin(), videos.end(), byPath);

    ScanResult result;
    result.photos.reserve(photos.size());
    result.videos.reserve(videos.size());
    for (Found &found : photos)
        result.photos.append(std::move(found.item));
    for (Found &found : videos)
        result.videos.append(std::move(found.item));
    return result;
}

} // namespace pomelark
