#pragma once

#include "platform/Volumes.h"
#include "services/MediaItem.h"

#include <QSet>
#include <QUrl>

#include <optional>
#include <stdexcept>

namespace pomelark {

/// The error a scan throws when the folder cannot be listed at all.
class ScanError : public std::runtime_error {
public:
    explicit ScanError(const QString &folder);
    QString folder;
};

/// Finds the camera card's folder and sorts a folder's files into photos and
/// videos by extension. Stateless and synchronous; it decides nothing about
/// whether a file can be read.
class ImportService {
public:
    ImportService() = default;
    /// Reads volumes through `volumes` (tests hand in a fake mount table).
    explicit ImportService(Volumes volumes) : m_volumes(std::move(volumes)) {}

    struct ScanResult {
        MediaItems photos;
        MediaItems videos;
    };

    static const QSet<QString> &photoExtensions();
    static const QSet<QString> &videoExtensions();

    /// The folder the folder chooser should start in: the "DCIM" folder of the
    /// first removable (or else ejectable) visible volume, that volume's root when
    /// it has no "DCIM" folder, or nothing when no such volume is mounted.
    std::optional<QUrl> findCardFolder() const;

    /// Walks `folder` recursively, skipping hidden files and folders and never
    /// following links to folders; links to files are listed like the files they
    /// name, even when they dangle, so validation can report them. So are files
    /// whose names are not valid UTF-8 (their URLs keep the raw bytes; see
    /// openablePath()). Unreadable subfolders are passed over. Each list comes
    /// sorted by path, compared as plain code points. Throws ScanError when
    /// `folder` itself cannot be listed.
    ScanResult scan(const QUrl &folder) const;

    /// The local path by which the file at `url` can be opened; nothing when its
    /// name is not valid UTF-8 (text cannot name it) or the URL is not a file's.
    static std::optional<QString> openablePath(const QUrl &url);

private:
    Volumes m_volumes;
};

} // namespace pomelark
