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
/// file that is already in the library, except the hidden leftovers of our own
/// adds that died.
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

    /// The user's Pictures folder, as the desktop's folder settings (XDG user
    /// dirs) name it: "~/사진" on many Korean desktops.
    static QString picturesFolder();

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
    /// a failed or interrupted add leaves no file behind, nor a date folder it
    /// made. The added file's modification time is `date`. Returns the added
    /// file's path; throws Error.
    QString add(const QString &file, const QString &fileName, std::optional<QDateTime> date) const;

    /// How long a hidden temporary of an add must have been left untouched
    /// before it counts as the leftover of an add that died.
    static constexpr qint64 leftoverAgeSeconds = 24 * 60 * 60;

    /// Removes the hidden temporaries of adds that died (the app killed on a
    /// file system without unnamed files): regular files in the date folders
    /// whose names are exactly the temporaries' and whose status has not changed
    /// for leftoverAgeSeconds before `now`, so an add in progress elsewhere keeps
    /// its own. Nothing else is touched; errors are ignored.
    void sweepLeftovers(const QDateTime &now) const;

private:
    QString m_root;
};

} // namespace pomelark
