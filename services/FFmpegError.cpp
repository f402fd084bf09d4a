#include "services/FFmpegError.h"

#include <QCoreApplication>

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

QString FFmpegError::description() const
{
    switch (m_kind) {
    case Kind::launchFailed:
        return QStringLiteral("Failed to launch ffmpeg: ") + m_text;
    case Kind::nonZeroExit:
        return QStringLiteral("ffmpeg exited with code ") + QString::number(m_code) + QStringLiteral(": ") + m_text;
    case Kind::partialRead:
        return QCoreApplication::translate("FFmpegError", "ffmpeg read only %1 of the video's %2 seconds")
            .arg(QString::number(m_readSeconds, 'f', 1), QString::number(m_sourceSeconds, 'f', 1));
    case Kind::binaryNotFound:
        break;
    }
    return QStringLiteral("ffmpeg not found. Install the ffmpeg package.");
}

} // namespace pomelark
