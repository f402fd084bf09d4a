#include "services/ValidationService.h"

#include "platform/FileDescriptor.h"
#include "platform/ImageSource.h"
#include "platform/MediaProbe.h"

#include <QFile>

#include <sys/stat.h>

namespace pomelark {

ValidationService::ValidationService(ImportService importer) : m_importer(std::move(importer)) {}

ValidationService &ValidationService::shared()
{
    static ValidationService instance;
    return instance;
}

bool ValidationService::checkFileNow(const QString &path, MediaItem::Kind kind)
{
    // Follows links: a link is judged by the file it names, and a dangling one
    // cannot be read.
    struct stat attributes {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &attributes) != 0)
        throw FileAttributesError();
    // A named pipe or a device has no size to tell, and is no photo or video
    // whatever it is called: it cannot be read as one.
    if (!S_ISREG(attributes.st_mode))
        throw FileAttributesError();
    if (attributes.st_size <= 0)
        throw ValidationFailure::Error(ValidationFailure::Reason::emptyFile);
    // A file we may not open is unreadable, not damaged. Not blocking: a named
    // pipe must not hold the run.
    if (!FileDescriptor::openToRead(path).isOpen())
        throw FileAttributesError();

    if (kind == MediaItem::Kind::video) {
        const std::optional<MediaInfo> info = MediaProbe::probe(path);
        return info && !info->tracks.isEmpty();
    }
    switch (ImageSource(path).recognise()) {
    case ImageSource::Recognition::image:
        return true;
    case ImageSource::Recognition::notImage:
        return false;
    case ImageSource::Recognition::unreadable:
        break;
    }
    // A read that failed says nothing of the content: not damaged, unreadable.
    throw FileAttributesError();
}

QCoro::Task<bool> ValidationService::checkFile(QUrl url, MediaItem::Kind kind)
{
    const QString path = url.toLocalFile();
    co_return co_await m_executor.run([path, kind] { return checkFileNow(path, kind); });
}

QCoro::Task<ValidationOutcome> ValidationService::validate(QUrl folder, std::function<bool()> isStillPresent)
{
    const ImportService importer = m_importer;
    const ImportService::ScanResult scanned =
        co_await m_executor.run([importer, folder] { return importer.scan(folder); });

    MediaItems work = scanned.photos;
    work.append(scanned.videos);

    ValidationOutcome outcome;
    outcome.totalScanned = int(work.size());
    for (const MediaItem &item : work) {
        if (!isStillPresent())
            throw ValidationAborted();
        if (!ImportService::openablePath(item.url)) {
            outcome.failed.append({QUuid::createUuid(), item.url, ValidationFailure::Reason::unreadable});
            continue;
        }
        try {
            if (co_await checkFile(item.url, item.kind)) {
                outcome.valid.append(item);
            } else {
                const auto reason = item.kind == MediaItem::Kind::video ? ValidationFailure::Reason::corruptVideo
                                                                        : ValidationFailure::Reason::corruptPhoto;
                outcome.failed.append({QUuid::createUuid(), item.url, reason});
            }
        } catch (const ValidationFailure::Error &error) {
            outcome.failed.append({QUuid::createUuid(), item.url, error.reason});
        } catch (...) {
            outcome.failed.append({QUuid::createUuid(), item.url, ValidationFailure::Reason::unreadable});
        }
    }
    co_return outcome;
}

} // namespace pomelark
