#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

namespace pomelark {

/// One entry of a folder, named as the file system names it.
struct RawDirectoryEntry {
    enum class Type {
        folder,       ///< a folder itself, not a link to one
        linkToFolder, ///< a symbolic link that leads to a folder
        other,        ///< anything else: a file, a link to one or to nothing, a device, a pipe…
    };

    QByteArray name;
    Type type = Type::other;
};

/// The entries of the folder at `path` ("." and ".." left out), in the order the
/// file system gives them, with their names as raw bytes: unlike Qt's listings,
/// this keeps names that are not valid UTF-8. Nothing when the folder cannot be
/// opened.
std::optional<QList<RawDirectoryEntry>> listRawDirectory(const QByteArray &path);

/// `path` as text when it reads back to the same bytes, so that opening the text
/// opens the same file; nothing for a path that is not valid UTF-8.
std::optional<QString> pathAsText(const QByteArray &path);

} // namespace pomelark
