#include "services/ValidationService.h"

#include "platform/FileDescriptor.h"
#include "platform/ImageSource.h"
#include "platform/MediaProbe.h"
#include "platform/ReadCheck.h"
#include "services/SourceCheck.h"

#include <QFile>

#include <sys/stat.h>

namespace pomelark {

namespace {

QStringList openablePaths(const MediaItems &items)
{
    QStringList paths;
    for (const MediaItem &item : items) {
        if (const std::optional<QString> path = ImportService::openablePath(item.url))
            paths.append(*path);
    }
    return paths;
}

} // namespace

ValidationService::ValidationService(ImportService importer, FileCheck fileCheck)
    : m_importer(std::move(importer)), m_fileCheck(fileCheck ? std::move(fileCheck) : FileCheck(checkFileNow))
{
}

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
        if (info && !info->tracks.isEmpty())
            return true;
        // As for a photo: a video whose reads fail is unreadable, not damaged.
        if (ReadCheck::readError(path) != 0)
            throw FileAttributesError();
        return false;
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
    const FileCheck check = m_fileCheck;
    co_return co_await m_executor.run([check, path, kind] { return check(path, kind); });
}

QCoro::Task<ValidationOutcome> ValidationService::validate(QUrl folder, std::function<bool()> isStillPresent,
                                                           PullSigns signs)
{
    struct Scanned {
        ImportService::ScanResult files;
        SourceCheck source;
    };
    const ImportService importer = m_importer;
    // The folder is noted once the scan has shown it is there.
    const Scanned scanned = co_await m_executor.run(
        [importer, folder] { return Scanned{importer.scan(folder), SourceCheck(folder.toLocalFile())}; });

    MediaItems work = scanned.files.photos;
    work.append(scanned.files.videos);

    ValidationOutcome outcome;
    outcome.totalScanned = int(work.size());
    QString witness; // the last file that passed, to read again when one fails
    for (qsizetype index = 0; index < work.size(); ++index) {
        const MediaItem &item = work.at(index);
        if (!isStillPresent())
            throw ValidationAborted();
        const std::optional<QString> path = ImportService::openablePath(item.url);
        if (!path) {
            outcome.failed.append({QUuid::createUuid(), item.url, ValidationFailure::Reason::unreadable});
            continue;
        }
        ValidationFailure::Reason reason;
        try {
            if (co_await checkFile(item.url, item.kind)) {
                outcome.valid.append(item);
                witness = *path;
                continue;
            }
            reason = item.kind == MediaItem::Kind::video ? ValidationFailure::Reason::corruptVideo
                                                         : ValidationFailure::Reason::corruptPhoto;
        } catch (const ValidationFailure::Error &error) {
            reason = error.reason;
        } catch (...) {
            reason = ValidationFailure::Reason::unreadable;
        }
        // A pulled card fails every file left before its watcher hears of it:
        // a failure counts only when the card still answers.
        if (!isStillPresent())
            throw ValidationAborted();
        if (signs == PullSigns::watcherOrReads) {
            // With nothing passed yet, the next files may show the card still
            // reads: past a bad patch at its start, too.
            const QStringList others =
                witness.isEmpty() ? openablePaths(work.mid(index + 1, filesReadAhead)) : QStringList();
            const SourceCheck source = scanned.source;
            if (!co_await m_executor.run([source, failed = *path, witness, others] {
                    return source.stillAnswers(failed, witness, others);
                }))
                throw ValidationAborted();
        }
        outcome.failed.append({QUuid::createUuid(), item.url, reason});
    }
    co_return outcome;
}

} // namespace pomelark
