#include "platform/CpuSetPreload.h"

#include "platform/SystemLog.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

namespace pomelark {

namespace {

std::optional<QString> findLibrary()
{
    const QString name = QStringLiteral(POMELARK_KEEP_CPUS_LIBRARY);
    const QString here = QCoreApplication::applicationDirPath();
    const QStringList folders{here, QFileInfo(here + QStringLiteral("/" POMELARK_KEEP_CPUS_INSTALLED_FOLDER)).absoluteFilePath()};
    for (const QString &folder : folders) {
        const QFileInfo file(folder + QLatin1Char('/') + name);
        if (!file.isFile())
            continue;
        const QString path = file.canonicalFilePath();
        // The loader splits LD_PRELOAD at both.
        if (path.contains(QLatin1Char(':')) || path.contains(QLatin1Char(' '))) {
            SystemLog::write(QStringLiteral("[CpuSetPreload] cannot preload ") + path
                             + QStringLiteral(" (a colon or space in its path): x265 in ffmpeg may leave the "
                                              "CPUs this app was given"));
            return std::nullopt;
        }
        return path;
    }
    SystemLog::write(QStringLiteral("[CpuSetPreload] ") + name + QStringLiteral(" is in none of ")
                     + folders.join(QStringLiteral(", "))
                     + QStringLiteral(": x265 in ffmpeg may leave the CPUs this app was given"));
    return std::nullopt;
}

} // namespace

std::optional<QString> CpuSetPreload::library()
{
    static const std::optional<QString> found = findLibrary();
    return found;
}

void CpuSetPreload::keepThreadsInside(QProcess &process)
{
    const std::optional<QString> ours = library();
    if (!ours)
        return;
    QProcessEnvironment environment = process.processEnvironment();
    if (environment.isEmpty())
        environment = QProcessEnvironment::systemEnvironment();
    // The user's own preloads keep their place, ahead of ours.
    const QString theirs = environment.value(QStringLiteral("LD_PRELOAD"));
    environment.insert(QStringLiteral("LD_PRELOAD"), theirs.isEmpty() ? *ours : theirs + QLatin1Char(':') + *ours);
    process.setProcessEnvironment(environment);
}

} // namespace pomelark
