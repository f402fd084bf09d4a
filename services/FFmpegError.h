#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <optional>

namespace pomelark {

/// Why an ffmpeg run gave no result. Its description is shown to the user as
/// the reason a video was not sent: fixed English for what the program said,
/// translated for what we found.
class FFmpegError : public std::exception {
public:
    enum class Kind { launchFailed, nonZeroExit, binaryNotFound, partialRead, sourceNotAFile };

    /// The process could not be started; `underlying` is the system's reason.
    static FFmpegError launchFailed(const QString &underlying);
    /// The process ran and ended with `code`, leaving the trimmed log
    /// `stderrText`. Its description carries only the log's reasonLine(); when
    /// the log says the run could not write `output`, it is "Conversion failed: "
    /// and the system's reason instead, as for a photo, and never names the
    /// file, which is ours and not the user's. Otherwise stopped() says whether
    /// ffmpeg ended the run on a stop signal, and if not, inputDamaged()
    /// whether the log tells that the run stopped on damaged data in `input`.
    static FFmpegError nonZeroExit(int code, const QString &stderrText, const QString &output = {},
                                   const QString &input = {});
    /// The signal numbered `signal` ended the process, leaving the trimmed log
    /// `stderrText`: a nonZeroExit whose code() is the signal. Its description
    /// names the signal, but for a file-size limit's SIGXFSZ, which is told as
    /// a photo's output too large to write is: "Conversion failed: " and why.
    static FFmpegError killedBySignal(int signal, const QString &stderrText = {});
    /// No ffmpeg program is installed.
    static FFmpegError binaryNotFound();
    /// The run ended well, but its output lasts `readSeconds` of the source's
    /// `sourceSeconds`: the source was read only in part (a card pulled, a file
    /// cut short while it was read).
    static FFmpegError partialRead(double readSeconds, double sourceSeconds);
    /// The input could not be opened as a regular file: it is missing or not
    /// ours to read, or is something else (a named pipe, a device, a folder),
    /// whose open by ffmpeg could wait forever. No process was made. Told as
    /// a photo whose source cannot be read is.
    static FFmpegError sourceNotAFile();

    Kind kind() const { return m_kind; }
    int code() const { return m_code; }
    const QString &stderrText() const { return m_text; }
    const QString &underlying() const { return m_text; }
    double readSeconds() const { return m_readSeconds; }
    double sourceSeconds() const { return m_sourceSeconds; }
    /// Set when a nonZeroExit run could not write its output: the system's
    /// reason in English, as ffmpeg gives it, or an empty text when the log
    /// gives none. Nothing when the output was not at fault.
    const std::optional<QString> &outputReason() const { return m_outputReason; }
    /// Whether a signal ended the process; code() is then its number.
    bool signalled() const { return m_signalled; }
    /// Whether ffmpeg ended a nonZeroExit run itself on SIGTERM or SIGINT (a
    /// shutdown, someone stopping processes), as stoppedBySignal() reads it.
    bool stopped() const { return m_stopped; }
    /// Whether a nonZeroExit run that was not at fault with its output stopped
    /// on damaged data in its input, as stoppedOnDamagedInput() reads a
    /// conversion's log: a file cut inside a packet, a picture that does not
    /// decode. A card that went mid-read can leave the same log.
    bool inputDamaged() const { return m_inputDamaged; }

    QString description() const;
    const char *what() const noexcept override { return m_what.constData(); }

    /// The line of an ffmpeg log that says why the run ended, without the
    /// "[component @ 0x…]" tags: the last line other than ffmpeg's closing
    /// "Conversion failed!", or that line when it is all there is.
    static QString reasonLine(const QString &log);

    /// Why the run that left `log` could not write `output`, from the last line
    /// that says so: one naming `output` followed by ": " and the reason, or
    /// one ending in the reason of a failure that only writing meets (no space,
    /// file too large, quota exceeded, read-only file system). Nothing when no
    /// line says so.
    static std::optional<QString> outputFailure(const QString &log, const QString &output);

    /// Whether the log of a run with "-xerror" at log level "error" says it
    /// stopped on damaged data in `input`: its reasonLine() says that an input
    /// packet or decoded frame is corrupt or that a stream did not decode, or
    /// names `input` with "Invalid data found when processing input"; or its
    /// last line is a component's own complaint (a decoder's, the demuxer's)
    /// after which ffmpeg said nothing, as when a frame does not decode. ffmpeg
    /// ends every failure of its own, writing's included, in its own words.
    static bool stoppedOnDamagedInput(const QString &log, const QString &input);

    /// Whether a run that exited with `code`, leaving `log`, was ended by
    /// ffmpeg on SIGTERM or SIGINT: it catches both and exits with 255, saying
    /// why only at log level "info".
    static bool stoppedBySignal(int code, const QString &log);

private:
    FFmpegError(Kind kind, int code, QString text, std::optional<QString> outputReason = {}, double readSeconds = 0,
                double sourceSeconds = 0);

    Kind m_kind;
    int m_code = 0;
    QString m_text;
    double m_readSeconds = 0;
    double m_sourceSeconds = 0;
    std::optional<QString> m_outputReason;
    bool m_signalled = false;
    bool m_stopped = false;
    bool m_inputDamaged = false;
    QByteArray m_what;
};

} // namespace pomelark
