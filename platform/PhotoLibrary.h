#pragma once

#include "platform/NoReplaceCopy.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <stdexcept>

namespace pomelark {

/// The user's Photos library: a folder (by default "Photos" in the Pictures
/// folder; `POMELARK_PHOTOS_DIR` overrides) into which finished files are added,
/// filed by date under `YYYY/MM/DD/`. Nothing here reads, changes or removes a
/// file that is already in the library.
///
/// Stateless apart from its root; calls may come from any thread.
class PhotoLibrary {
public:
    /// Thrown by add(); the text says what the file system reported.
    using Error = NoReplaceCopy::Error;

    enum class Access { notDetermined, denied, authorized };

    explicit PhotoLibrary(QString root = defaultRoot());

    /// `POMELARK_PHOTOS_DIR` when set, else "Photos" in the user's Pictures folder.
    static QString defaultRoot();

    const QString &root() const { return m_root; }

    /// notDetermined while the folder does not exist, authorized when it is a
    /// folder we can write into, denied otherwise.
    Access access() const;

    /// Makes the folder (with its parents) when it is missing and reports the
    /// access that results: authorized, or denied when it cannot be made or written.
    Access requestAccess() const;

    /// Copies `file` into the library as `fileName` (a bare name, no folders) in
    /// the folder of `date` (the file's own modification time when none), with a
    /// free " (N)" suffix when the name is taken. The copy is synced and appears
    /// in one step under its final name; an existing file is never replaced, and
    /// a failed or interrupted add leaves no file behind. The added file's
    /// modification time is `date`. Returns the added file's path; throws Error.
    QString add(const QString &file, const QString &fileName, std::optional<QDateTime> date) const;

private:
    QString m_root;
};

} // namespace pomelark
