#pragma once

#include "services/MediaItem.h"

#include <QString>
#include <QUrl>
#include <QUuid>

#include <exception>

namespace pomelark {

/// One file that validation rejected.
struct ValidationFailure {
    enum class Reason { emptyFile, corruptPhoto, corruptVideo, unknownFormat, unreadable };

    QUuid id;
    QUrl sourceURL;
    Reason reason = Reason::unreadable;

    /// The user message for `reason`, in the display language.
    static QString message(Reason reason);
    QString message() const { return message(reason); }

    /// A reason thrown as an error by a file check.
    struct Error : std::exception {
        explicit Error(Reason reason) : reason(reason) {}
        const char *what() const noexcept override { return "validation failure"; }
        Reason reason;
    };
};

/// The result of one validation run.
struct ValidationOutcome {
    MediaItems valid;                      ///< photos first, then videos, each by path
    QList<ValidationFailure> failed;       ///< in the same order
    int totalScanned = 0;                  ///< valid plus failed
};

/// What tells a validation run that the card is going when one of its files fails.
enum class PullSigns {
    /// The card watcher, or the card's own reads: a pulled card fails every
    /// read before the system unmounts it and the watcher hears of it.
    watcherOrReads,
    /// The card watcher alone: while it says present, every failure is listed.
    /// For a run again after one its reads ended, so that no folder is
    /// validated again and again for files that fail as a going card's would.
    watcherOnly,
};

/// Ends a validation run when the source went away (the card was pulled).
struct ValidationAborted : std::exception {
    const char *what() const noexcept override { return "validation aborted"; }
};

/// Thrown by a file check when the file's attributes cannot be read, the file
/// cannot be opened, or a read of its content fails.
struct FileAttributesError : std::exception {
    const char *what() const noexcept override { return "file attributes unreadable"; }
};

} // namespace pomelark
