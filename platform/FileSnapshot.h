#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <variant>

#include <sys/types.h>

namespace pomelark {

/// A file's whole content as one open of it read it, with what the system said
/// of that same open. Whatever is taken from the content (pixels, metadata,
/// dates) then describes one version of the file, even if the file changes or
/// goes (a card pulled) right after.
struct FileSnapshot {
    /// Which file, in which version: a file rewritten in place keeps its device,
    /// inode, size and even its modification time (some card drivers do not
    /// move it), but never its change time.
    struct Stamp {
        qint64 device = -1, inode = -1, size = -1;
        qint64 modifiedSeconds = -1, modifiedNanoseconds = -1;
        qint64 changedSeconds = -1, changedNanoseconds = -1;

        /// False for the stamp of a file that could not be looked at.
        bool isValid() const { return size >= 0; }
        /// The modification time, local.
        QDateTime modified() const;

        /// The file at `path` as it is now; an invalid stamp when it cannot be
        /// looked at.
        static Stamp of(const QString &path);
        /// The same of the open file `fd`.
        static Stamp ofOpen(int fd);

        friend bool operator==(const Stamp &, const Stamp &) = default;
    };

    QByteArray content;
    Stamp stamp; ///< of the open the content was read through, taken before the read

    /// Reads up to `size` bytes of the open file `fd` into `buffer`, as ::read() does.
    using ReadSome = std::function<ssize_t(int fd, void *buffer, size_t size)>;

    /// Why a file gave no snapshot.
    enum class Failure {
        /// It cannot be opened, is not a regular file (a pipe would block the
        /// read), is not the version expected, a read failed, or what came is
        /// not the whole file as its open found it: fewer or more bytes than its
        /// size, or a file whose size or times changed during the read.
        unreadable,
        /// It holds more than asked for; nothing of it was read.
        tooLarge,
    };

    /// Reads the regular file at `path` whole, through one open, with
    /// `readSome` (tests make it fail), when it holds at most `maxBytes` and,
    /// when `expected` is given, its open finds it in that version (an invalid
    /// stamp is no version: such a read reads nothing). Fails as Failure says.
    static std::variant<FileSnapshot, Failure> read(const QString &path, qint64 maxBytes,
                                                    const std::optional<Stamp> &expected = {},
                                                    const ReadSome &readSome = ::read);
};

} // namespace pomelark
