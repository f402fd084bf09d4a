#include "services/FFmpegError.h"

#include "platform/SystemErrorText.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace pomelark {

namespace {

QStringList linesOf(const QString &log)
{
    return log.split(QRegularExpression(QStringLiteral("[\r\n]+")));
}

/// The "[component @ 0x…]" tag that opens the lines a part of ffmpeg (a
/// decoder, a demuxer, an encoder) writes itself.
const QRegularExpression &componentTag()
{
    static const QRegularExpression tag(QStringLiteral(R"(\[[^\]\n]*@ (0x[0-9a-fA-F]+|\(nil\))\]\s*)"));
    return tag;
}

/// "SIGSEGV" for SIGSEGV: the name people look up, in every language.
QString signalName(int signal)
{
    const char *abbreviation = ::sigabbrev_np(signal);
    return abbreviation ? QStringLiteral("SIG") + QString::fromLatin1(abbreviation) : QString::number(signal);
}

} // namespace

FFmpegError::FFmpegError(Kind kind, int code, QString text, std::optional<QString> outputReason, double readSeconds,
                         double sourceSeconds)
    : m_kind(kind), m_code(code), m_text(std::move(text)), m_readSeconds(readSeconds), m_sourceSeconds(sourceSeconds),
      m_outputReason(std::move(outputReason))
{
    m_what = description().toUtf8();
}

FFmpegError FFmpegError::launchFailed(const QString &underlying)
{
    return FFmpegError(Kind::launchFailed, 0, underlying);
}

FFmpegError FFmpegError::nonZeroExit(int code, const QString &stderrText, const QString &output,
                                     const QString &input)
{
    std::optional<QString> outputReason = outputFailure(stderrText, output);
    // Whatever else a line about our own file says, its path is no one's business.
    if (!outputReason && !output.isEmpty() && reasonLine(stderrText).contains(output))
        outputReason = QString();
    FFmpegError error(Kind::nonZeroExit, code, stderrText, outputReason);
    error.m_stopped = !outputReason && stoppedBySignal(code, stderrText);
    error.m_inputDamaged = !outputReason && !error.m_stopped && stoppedOnDamagedInput(stderrText, input);
    error.m_what = error.description().toUtf8();
    return error;
}

FFmpegError FFmpegError::killedBySignal(int signal, const QString &stderrText)
{
    // A file-size limit ends the writer with SIGXFSZ before any write can fail
    // with EFBIG, and leaves no log: the same failure in other words.
    std::optional<QString> outputReason;
    if (signal == SIGXFSZ)
        outputReason = SystemErrorText::systemDescription(EFBIG);
    FFmpegError error(Kind::nonZeroExit, signal, stderrText, std::move(outputReason));
    error.m_signalled = true;
    error.m_what = error.description().toUtf8();
    return error;
}

FFmpegError FFmpegError::binaryNotFound()
{
    return FFmpegError(Kind::binaryNotFound, 0, {});
}

FFmpegError FFmpegError::partialRead(double readSeconds, double sourceSeconds)
{
    return FFmpegError(Kind::partialRead, 0, {}, std::nullopt, readSeconds, sourceSeconds);
}

FFmpegError FFmpegError::sourceNotAFile()
{
    return FFmpegError(Kind::sourceNotAFile, 0, {});
}

QString FFmpegError::reasonLine(const QString &log)
{
    // The tags name a memory address that differs on every run and tells the
    // user nothing; a card pulled mid-read makes several of them.
    const QStringList lines = linesOf(log);
    QString closing;
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QString text = QString(*line).remove(componentTag()).trimmed();
        if (text == QStringLiteral("Conversion failed!"))
            closing = text;
        else if (!text.isEmpty())
            return text;
    }
    return closing;
}

std::optional<QString> FFmpegError::outputFailure(const QString &log, const QString &output)
{
    // ffmpeg words them as the C locale does, whatever the user's language.
    static const QStringList writingOnly = [] {
        QStringList reasons;
        for (const int error : {ENOSPC, EFBIG, EDQUOT, EROFS})
            reasons << SystemErrorText::systemDescription(error);
        return reasons;
    }();
    const QString named = output + QStringLiteral(": ");
    const QStringList lines = linesOf(log);
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QString text = line->trimmed();
        const qsizetype at = output.isEmpty() ? -1 : text.indexOf(named);
        if (at >= 0 && text.size() > at + named.size())
            return text.mid(at + named.size());
        for (const QString &reason : writingOnly) {
            if (text.endsWith(QStringLiteral(": ") + reason))
                return reason;
        }
    }
    return std::nullopt;
}

bool FFmpegError::stoppedOnDamagedInput(const QString &log, const QString &input)
{
    // ffmpeg's own words for what "-xerror" stops on; they are only ever said
    // of an input.
    static const QStringList damaged{QStringLiteral("corrupt input packet in stream"),
                                     QStringLiteral("corrupt decoded frame in stream"),
                                     QStringLiteral("Error while decoding stream")};
    const QString reason = reasonLine(log);
    for (const QString &words : damaged) {
        if (reason.contains(words))
            return true;
    }
    // The text of any invalid-data error, the output's too: it counts only
    // when it names the input, as a failed open or read of it does.
    if (!input.isEmpty() && reason == input + QStringLiteral(": Invalid data found when processing input"))
        return true;
    // A decoder that refuses a frame under "-xerror" ends the run without a
    // word of ffmpeg's own: its complaint is the last line.
    const QString last = linesOf(log.trimmed()).constLast().trimmed();
    return componentTag().match(last).capturedStart() == 0;
}

bool FFmpegError::stoppedBySignal(int code, const QString &log)
{
    // ffmpeg's own exit status for a run it ended on SIGTERM or SIGINT; it
    // says so only at level "info", and at "error" says nothing at all.
    static const QRegularExpression received(QStringLiteral(R"(^Exiting normally, received signal \d+\.$)"),
                                             QRegularExpression::MultilineOption);
    return code == 255 && (reasonLine(log).isEmpty() || received.match(log).hasMatch());
}

QString FFmpegError::description() const
{
    switch (m_kind) {
    case Kind::launchFailed:
        return QStringLiteral("Failed to launch ffmpeg: ") + m_text;
    case Kind::nonZeroExit:
        if (m_outputReason) {
            // A photo's words for the same failure, so one translation serves
            // both; ffmpeg's English cause becomes ours in the display language.
            const QString failed = QCoreApplication::translate("ConvertError", "Conversion failed");
            return m_outputReason->isEmpty()
                       ? failed
                       : failed + QStringLiteral(": ") + SystemErrorText::ofDescription(*m_outputReason);
        }
        if (m_stopped)
            return QCoreApplication::translate("FFmpegError", "ffmpeg was stopped");
        // A signal leaves no exit status to quote and, mostly, no log.
        if (m_signalled)
            return QCoreApplication::translate("FFmpegError", "ffmpeg was ended by signal %1").arg(signalName(m_code));
        return QStringLiteral("ffmpeg exited with code ") + QString::number(m_code) + QStringLiteral(": ")
               + reasonLine(m_text);
    case Kind::partialRead:
        return QCoreApplication::translate("FFmpegError", "ffmpeg read only %1 of the video's %2 seconds")
            .arg(QString::number(m_readSeconds, 'f', 1), QString::number(m_sourceSeconds, 'f', 1));
    case Kind::sourceNotAFile:
        // A photo's words for a source that cannot be read, and one translation.
        return QCoreApplication::translate("ConvertError", "Couldn't read the source file");
    case Kind::binaryNotFound:
        break;
    }
    return QStringLiteral("ffmpeg not found. Install the ffmpeg package.");
}

} // namespace pomelark
