#include "services/FFmpegError.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace pomelark {

FFmpegError::FFmpegError(Kind kind, int code, QString text, double readSeconds, double sourceSeconds)
    : m_kind(kind), m_code(code), m_text(std::move(text)), m_readSeconds(readSeconds), m_sourceSeconds(sourceSeconds)
{
    m_what = description().toUtf8();
}

FFmpegError FFmpegError::launchFailed(const QString &underlying)
{
    return FFmpegError(Kind::launchFailed, 0, underlying);
}

FFmpegError FFmpegError::nonZeroExit(int code, const QString &stderrText)
{
    return FFmpegError(Kind::nonZeroExit, code, stderrText);
}

FFmpegError FFmpegError::binaryNotFound()
{
    return FFmpegError(Kind::binaryNotFound, 0, {});
}

FFmpegError FFmpegError::partialRead(double readSeconds, double sourceSeconds)
{
    return FFmpegError(Kind::partialRead, 0, {}, readSeconds, sourceSeconds);
}

FFmpegError FFmpegError::sourceNotAFile()
{
    return FFmpegError(Kind::sourceNotAFile, 0, {});
}

QString FFmpegError::reasonLine(const QString &log)
{
    // The tags name a memory address that differs on every run and tells the
    // user nothing; a card pulled mid-read makes several of them.
    static const QRegularExpression tag(QStringLiteral(R"(\[[^\]\n]*@ (0x[0-9a-fA-F]+|\(nil\))\]\s*)"));
    const QStringList lines = log.split(QRegularExpression(QStringLiteral("[\r\n]+")));
    QString closing;
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QString text = QString(*line).remove(tag).trimmed();
        if (text == QStringLiteral("Conversion failed!"))
            closing = text;
        else if (!text.isEmpty())
            return text;
    }
    return closing;
}

QString FFmpegError::description() const
{
    switch (m_kind) {
    case Kind::launchFailed:
        return QStringLiteral("Failed to launch ffmpeg: ") + m_text;
    case Kind::nonZeroExit:
        return QStringLiteral("ffmpeg exited with code ") + QString::number(m_code) + QStringLiteral(": ")
               + reasonLine(m_text);
    case Kind::partialRead:
        return QCoreApplication::translate("FFmpegError", "ffmpeg read only %1 of the video's %2 seconds")
            .arg(QString::number(m_readSeconds, 'f', 1), QString::number(m_sourceSeconds, 'f', 1));
    case Kind::sourceNotAFile:
        return QCoreApplication::translate("FFmpegError", "The video is not a regular file");
    case Kind::binaryNotFound:
        break;
    }
    return QStringLiteral("ffmpeg not found. Install the ffmpeg package.");
}

} // namespace pomelark
