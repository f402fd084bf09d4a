#include "platform/FFmpegProgram.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace pomelark {

std::optional<QString> FFmpegProgram::find()
{
    const QString configured = qEnvironmentVariable("POMELARK_FFMPEG");
    if (configured.contains(QLatin1Char('/'))) {
        const QFileInfo file(configured);
        if (file.exists() && !file.isDir())
            return file.absoluteFilePath();
        return std::nullopt;
    }
    const QString found =
        QStandardPaths::findExecutable(configured.isEmpty() ? QStringLiteral("ffmpeg") : configured);
    if (found.isEmpty())
        return std::nullopt;
    return found;
}

} // namespace pomelark
