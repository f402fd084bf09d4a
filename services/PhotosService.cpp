#include "services/PhotosService.h"

#include "platform/SystemLog.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <utility>

namespace pomelark {

QString PhotosError::message() const
{
    if (kind == Kind::denied)
        return QCoreApplication::translate("PhotosError", "No Photos access");
    return QCoreApplication::translate("PhotosError", "Couldn't add to Photos:") + QLatin1Char(' ') + underlying;
}

PhotosService::PhotosService(PhotoLibrary library) : m_library(std::move(library)) {}

PhotosService &PhotosService::shared()
{
    static PhotosService service;
    return service;
}

PhotosService::AuthorizationStatus PhotosService::authorizationStatus() const
{
    switch (m_library.access()) {
    case PhotoLibrary::Access::notDetermined:
        return AuthorizationStatus::notDetermined;
    case PhotoLibrary::Access::authorized:
        return AuthorizationStatus::authorized;
    case PhotoLibrary::Access::denied:
        break;
    }
    return AuthorizationStatus::denied;
}

QCoro::Task<PhotosService::AuthorizationStatus> PhotosService::requestAuthorization()
{
    const PhotoLibrary::Access access = co_await m_executor.run([library = m_library] { return library.requestAccess(); });
    co_return access == PhotoLibrary::Access::authorized ? AuthorizationStatus::authorized : AuthorizationStatus::denied;
}

QCoro::Task<void> PhotosService::addToLibrary(QUrl fileURL, bool isVideo, std::optional<QDateTime> creationDate,
                                              QString originalName)
{
    Q_UNUSED(isVideo) // the library files photos and videos alike
    const QString path = fileURL.toLocalFile();
    const QString name = libraryName(originalName, path);
    const std::optional<QDateTime> sweepAt = std::exchange(m_swept, true) ? std::nullopt : std::optional(m_clock());
    try {
        co_await m_executor.run([library = m_library, path, name, creationDate, sweepAt] {
            if (sweepAt)
                library.sweepLeftovers(*sweepAt);
            library.add(path, name, creationDate);
        });
    } catch (const PhotoLibrary::Error &error) {
        // The user reads the cause in the display language; which step failed,
        // on which path, stays findable in the log.
        SystemLog::write(QStringLiteral("[PhotosService] add FAILED for ") + name + QStringLiteral(": ")
                         + QString::fromUtf8(error.what()));
        const QString cause = error.systemText();
        throw PhotosError::importFailed(cause.isEmpty() ? QString::fromUtf8(error.what()) : cause);
    }
}

QString PhotosService::libraryName(const QString &original, const QString &converted)
{
    const QFileInfo source(original);
    QString stem = source.completeBaseName();
    if (stem.isEmpty())
        stem = QFileInfo(converted).completeBaseName();
    const QString extension = QFileInfo(converted).suffix();
    return extension.isEmpty() ? stem : stem + QLatin1Char('.') + extension;
}

} // namespace pomelark
