#include "services/ImportService.h"

#include "platform/RawDirectory.h"

#include <QDir>
#include <QFile>
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

namespace {

/// The file URL of `path`. A path that is not valid UTF-8 keeps its bytes
/// percent-encoded in the URL, where openablePath() knows it by.
QUrl urlOf(const QByteArray &path)
{
    if (const std::optional<QString> text = pathAsText(path))
        return QUrl::fromLocalFile(*text);
    return QUrl::fromEncoded("file://" + path.toPercentEncoding("/"));
}

} // namespace

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

std::optional<QString> ImportService::openablePath(const QUrl &url)
{
    if (!url.isLocalFile())
        return std::nullopt;
    return pathAsText(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
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

    // Raw entries: Qt's listings leave out names that are not valid UTF-8, and
    // such a file must be reported, not lost.
    QList<QByteArray> pending{QFile::encodeName(root)};
    while (!pending.isEmpty()) {
        const QByteArray folderPath = pending.takeLast();
        const auto entries = listRawDirectory(folderPath);
        if (!entries)
            continue; // unreadable subfolders are passed over
        for (const RawDirectoryEntry &entry : *entries) {
            if (entry.name.startsWith('.'))
                continue; // hidden
            const QByteArray path = folderPath + (folderPath.endsWith('/') ? "" : "/") + entry.name;
            if (entry.type == RawDirectoryEntry::Type::folder) {
                pending.append(path);
                continue;
            }
            if (entry.type == RawDirectoryEntry::Type::linkToFolder)
                continue; // links to folders are not followed
            const qsizetype dot = entry.name.lastIndexOf('.');
            const QString extension = dot < 0 ? QString() : QString::fromLatin1(entry.name.mid(dot + 1)).toLower();
            MediaItem::Kind kind;
            if (photoExtensions().contains(extension))
                kind = MediaItem::Kind::photo;
            else if (videoExtensions().contains(extension))
                kind = MediaItem::Kind::video;
            else
                continue;
            Found found{path, MediaItem{QUuid::createUuid(), urlOf(path), kind}};
            (kind == MediaItem::Kind::photo ? photos : videos).append(std::move(found));
        }
    }

    // Byte order, which for UTF-8 is code-point order: case-sensitive, no locale, no numbers.
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
