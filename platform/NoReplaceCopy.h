#pragma once

#include <QDateTime>
#include <QString>

#include <optional>
#include <stdexcept>

namespace pomelark {

/// Copies a file into a folder without ever replacing what is there: the copy
/// takes the file's own name, or the first free "name (N).ext" when that is taken.
/// The copy is written under no name (or a hidden temporary one), synced, and
/// named in one step, so nobody ever sees a half-written file and a failed or
/// interrupted copy leaves nothing behind. Safe to call from any thread.
class NoReplaceCopy {
public:
    /// Thrown by copy(). what() says in English what failed and what the file
    /// system reported, for logs; kind() and systemText() let a caller say it
    /// in the user's words.
    class Error : public std::runtime_error {
    public:
        /// What failed; `other` for errors made from a text alone.
        enum class Kind {
            other,
            openFile,
            notRegularFile,
            readFile,
            openFolder,
            makeFolder,
            writeFolder,
            finishFile,
            nameFile,
            noFreeName
        };

        using std::runtime_error::runtime_error;
        /// `what` failed, and the system reported `systemError` (an errno value;
        /// 0 when it reported nothing), whose English description what() adds.
        Error(Kind kind, const QString &what, int systemError = 0);

        Kind kind() const { return m_kind; }
        /// The errno value the system reported; 0 when none.
        int systemError() const { return m_systemError; }
        /// What the system reported, in the display language (SystemErrorText);
        /// empty when it reported nothing.
        QString systemText() const;

    private:
        Kind m_kind = Kind::other;
        int m_systemError = 0;
    };

    /// How the hidden temporary that stands in for an unnamed file begins (six
    /// random characters follow). One outlives a copy only when the process died
    /// during it.
    static constexpr char temporaryPrefix[] = ".pomelark-adding-";
    static constexpr int temporarySuffixLength = 6;

    /// Copies `file` into the existing `folder` as `fileName` (a bare name; any
    /// folders in it are dropped, a leading dot is removed so the copy is not
    /// hidden). The copy's modification time is `date`, or the source's own when
    /// none is given. Returns the copy's path; throws Error when the source is not
    /// a regular file (a pipe, a device) or cannot be read, the folder cannot be
    /// written, or no free name is found.
    static QString copy(const QString &file, const QString &folder, const QString &fileName,
                        std::optional<QDateTime> date = std::nullopt);
};

} // namespace pomelark
