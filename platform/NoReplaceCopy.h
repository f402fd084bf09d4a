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
        enum class Kind { other, openFile, notRegularFile, readFile, openFolder, writeFolder, finishFile, nameFile, noFreeName };

        using std::runtime_error::runtime_error;
        Error(Kind kind, QString systemText, const QString &text)
            : std::runtime_error(text.toStdString()), m_kind(kind), m_systemText(std::move(systemText))
        {
        }

        Kind kind() const { return m_kind; }
        /// The system's own description of the failure; empty when it gave none.
        const QString &systemText() const { return m_systemText; }

    private:
        Kind m_kind = Kind::other;
        QString m_systemText;
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
