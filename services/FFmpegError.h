#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace pomelark {

/// Why an ffmpeg run gave no result. Its description is fixed English (shown to
/// the user as the reason a video was not sent) and is not translated.
class FFmpegError : public std::exception {
public:
    enum class Kind { launchFailed, nonZeroExit, binaryNotFound };

    /// The process could not be started; `underlying` is the system's reason.
    static FFmpegError launchFailed(const QString &underlying);
    /// The process ran and ended with `code` (the signal number when a signal
    /// ended it), leaving the trimmed log `stderrText`.
    static FFmpegError nonZeroExit(int code, const QString &stderrText);
    /// No ffmpeg program is installed.
    static FFmpegError binaryNotFound();

    Kind kind() const { return m_kind; }
    int code() const { return m_code; }
    const QString &stderrText() const { return m_text; }
    const QString &underlying() const { return m_text; }

    QString description() const;
    const char *what() const noexcept override { return m_what.constData(); }

private:
    FFmpegError(Kind kind, int code, QString text);

    Kind m_kind;
    int m_code = 0;
    QString m_text;
    QByteArray m_what;
};

} // namespace pomelark
