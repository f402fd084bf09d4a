#include "services/ConvertService.h"

#include "platform/FileSnapshot.h"
#include "platform/FreedMemory.h"
#include "platform/HeifWriter.h"
#include "platform/ImageSource.h"
#include "platform/ImageTurns.h"
#include "platform/StoppableWork.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <climits>

namespace pomelark {

namespace {

/// From this size allocations are mapped on their own. Sends of 640 × 480 to
/// 12-MP photos held the same at 64 KB to 1 MB.
constexpr qint64 largeAllocationBytes = 256 * 1024;

const QString exifDatePattern = QStringLiteral("yyyy:MM:dd HH:mm:ss");

/// The photo's own capture date: its EXIF DateTimeOriginal when valid, else
/// the file's modification time.
std::optional<QDateTime> ownDate(const std::optional<QString> &dateTimeOriginal, const QDateTime &modified)
{
    if (dateTimeOriginal) {
        if (auto date = ConvertService::parseExifDate(*dateTimeOriginal))
            return date;
    }
    if (!modified.isValid())
        return std::nullopt;
    return modified;
}

/// The encode and write of a photo read for it, run on the service's executor.
void writePhoto(ReadPhoto photo, const QString &destinationPath, int quality, std::optional<QString> dateText,
                int rotation, StoppableWork &work)
{
    using Kind = ConvertError::Kind;
    HeifWriter::Options options;
    options.quality = quality;
    // HEIF readers ignore the EXIF tag: an unturned photo keeps its orientation
    // as the file's own transform, a turned one is stored upright.
    options.orientation = rotation == 0 ? photo.properties.orientation : 1;
    options.exif = photo.exif;
    options.dateTimeOriginal = std::move(dateText);
    options.work = &work;
    try {
        // Handed over, the pixels go before the encoder starts.
        HeifWriter::write(std::move(photo.pixels), destinationPath, options);
    } catch (const HeifWriter::Error &error) {
        using WriteKind = HeifWriter::Error::Kind;
        if (error.kind == WriteKind::tooLarge)
            throw ConvertError(Kind::sideTooLong);
        throw ConvertError(error.kind == WriteKind::destination ? Kind::destinationFailed : Kind::encodingFailed,
                           error.systemReason);
    }
}

} // namespace

QString ConvertError::message() const
{
    QString text;
    switch (kind) {
    case Kind::sourceUnreadable:
        text = QCoreApplication::translate("ConvertError", "Couldn't read the source file");
        break;
    case Kind::destinationFailed:
        text = QCoreApplication::translate("ConvertError", "Couldn't create the converted file");
        break;
    case Kind::encodingFailed:
        text = QCoreApplication::translate("ConvertError", "Conversion failed");
        break;
    case Kind::sourceTooLarge:
        text = QCoreApplication::translate("ConvertError", "This photo is too large to convert (over %1 MB)")
                   .arg(ImageSource::largestFileBytes / (1024 * 1024));
        break;
    case Kind::pictureTooLarge:
        text = QCoreApplication::translate("ConvertError", "This photo is too large to convert on this computer");
        break;
    case Kind::sideTooLong:
        text = QCoreApplication::translate("ConvertError",
                                           "This photo is too large to convert (%1 pixels or more on a side)")
                   .arg(HeifWriter::largestSide + 1);
        break;
    }
    // The system's own words, as an add to Photos that failed keeps them.
    return systemReason.isEmpty() ? text : text + QStringLiteral(": ") + systemReason;
}

ConvertService::ConvertService(VideoConverter &videos, PhotoReadAhead::Reader reader)
    : m_videos(videos), m_core(std::make_shared<Core>(MemoryBudget::configuredBytes())),
      m_readAhead(std::move(reader), std::shared_ptr<MemoryBudget>(m_core, &m_core->budget), m_core->work.token())
{
    // A picture, a file's bytes and the encoder's buffers, once freed, go
    // back to the system at once rather than stay with the allocator for
    // whatever comes next: a send holds no more than its claims between photos.
    FreedMemory::mapFrom(largeAllocationBytes);
    // Once the app quits, nothing more is read or converted, and what runs
    // ends before the application object goes.
    if (QCoreApplication *app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, &m_quitContext, [this] { stop(); });
}

ConvertService::~ConvertService()
{
    stop();
    // An encode still running is abandoned, not waited for: x265 takes no stop.
    m_executor.abandon();
}

ConvertService &ConvertService::shared()
{
    static ConvertService service;
    // A program may end without quitting its event loop: the application
    // object's end stops the service as a quit does.
    static const bool stopsWithTheApplication = [] {
        qAddPostRoutine([] { shared().stop(); });
        return true;
    }();
    Q_UNUSED(stopsWithTheApplication);
    return service;
}

void ConvertService::stop()
{
    m_readAhead.drop();
    m_core->work.stop();
}

QCoro::Task<void> ConvertService::convertPhoto(QUrl source, QUrl destination, bool highQuality,
                                               std::optional<QDateTime> captureDate, int rotationDegrees)
{
    co_await convertPhotoDated(std::move(source), std::move(destination), highQuality, rotationDegrees,
                               [captureDate](const ReadPhoto &) { return captureDate; });
}

QCoro::Task<std::optional<QDateTime>> ConvertService::convertPhotoWithOwnDate(QUrl source, QUrl destination,
                                                                             bool highQuality, int rotationDegrees)
{
    co_return co_await convertPhotoDated(std::move(source), std::move(destination), highQuality, rotationDegrees,
                                         [](const ReadPhoto &photo) {
                                             return ownDate(photo.properties.dateTimeOriginal,
                                                            photo.stamp.modified());
                                         });
}

QCoro::Task<std::optional<QDateTime>> ConvertService::convertPhotoDated(
    QUrl source, QUrl destination, bool highQuality, int rotationDegrees,
    std::function<std::optional<QDateTime>(const ReadPhoto &)> dateOf)
{
    const int rotation = normalisedRotation(rotationDegrees);
    const int quality = highQuality ? highQualityLevel : sizeQualityLevel;
    const QString sourcePath = source.toLocalFile();
    // In line before the read-ahead of the photo after this one, which the
    // send asks for once this conversion has begun.
    MemoryBudget::Place place = m_core->budget.line();
    std::shared_ptr<PhotoReadAhead::Slot> slot = co_await m_readAhead.take(sourcePath, rotation);
    co_return co_await m_executor.run([core = m_core, reader = m_readAhead.reader(), place = std::move(place),
                                       slot = std::move(slot), sourcePath, highQuality,
                                       destinationPath = destination.toLocalFile(), quality, dateOf = std::move(dateOf),
                                       rotation]() mutable {
        StoppableWork &work = core->work;
        const StoppableWork::Job job(work);
        work.throwIfStopped();
        // Its steps that read the card wait for no stop, and a stop does not
        // wait for them: a card that stopped answering holds them, not the quit.
        // Taken here, at its turn: until then it yields to any conversion.
        const std::unique_ptr<PhotoReadAhead::Held> ahead =
            work.abandonable([&slot] { return slot ? slot->take() : nullptr; });
        slot.reset();
        // What the whole conversion holds at its peak, claimed before anything
        // of the picture is decoded.
        const std::optional<PhotoCost> cost =
            ahead ? std::optional(ahead->cost)
                  : work.abandonable([&] { return PhotoCost::ofFile(sourcePath, rotation); });
        // Whatever the memory, libheif's readers would refuse it.
        if (cost && cost->sideTooLong())
            throw ConvertError(ConvertError::Kind::sideTooLong);
        if (cost && cost->peak(highQuality) > core->budget.total())
            throw ConvertError(ConvertError::Kind::pictureTooLarge);
        // Read ahead, it holds its picture already, and what it claimed for that.
        const qint64 need = !cost ? 0 : ahead ? cost->converting(highQuality) : cost->peak(highQuality);
        const std::optional<MemoryBudget::Claim> claim = core->budget.claim(
            std::move(place), std::max<qint64>(0, need - (ahead ? ahead->claim.bytes() : 0)), work.token());
        if (!claim)
            throw WorkStopped();
        // What the conversion freed, scattered through the arenas of the
        // threads that worked on it, goes back before its claim does, however
        // it ends.
        const auto giveBack = qScopeGuard(&FreedMemory::giveBack);
        // Only the file costed is read: one put in its place since, or one
        // without a cost, is refused before any of it is decoded.
        ReadPhoto photo = ahead ? std::move(ahead->photo) : work.abandonable([&] {
            return reader(sourcePath, rotation, cost ? cost->stamp() : FileSnapshot::Stamp(), work.token());
        });
        const std::optional<QDateTime> date = dateOf(photo);
        writePhoto(std::move(photo), destinationPath, quality, date ? std::optional(exifDateText(*date)) : std::nullopt,
                   rotation, work);
        return date;
    });
}

void ConvertService::readAhead(QUrl source, int rotationDegrees, bool highQuality)
{
    m_readAhead.start(source.toLocalFile(), normalisedRotation(rotationDegrees), highQuality);
}

void ConvertService::dropReadAhead()
{
    m_readAhead.drop();
}

ReadPhoto ConvertService::readSourcePhoto(const QString &path, int rotation,
                                          const std::optional<FileSnapshot::Stamp> &costed, std::stop_token stop)
{
    using Kind = ConvertError::Kind;
    if (stop.stop_requested())
        throw WorkStopped();
    // One read: a card pulled after it cannot strip the metadata, and a file
    // rewritten since cannot pair its new metadata with these pixels.
    // A file larger than any photo is not read: the read-ahead could hold
    // two such reads at once.
    auto read = FileSnapshot::read(path, ImageSource::largestFileBytes, costed);
    if (const auto *failure = std::get_if<FileSnapshot::Failure>(&read))
        throw ConvertError(*failure == FileSnapshot::Failure::tooLarge ? Kind::sourceTooLarge : Kind::sourceUnreadable);
    FileSnapshot &file = std::get<FileSnapshot>(read);
    const bool isJpeg = JpegDecoder::isJpeg(file.content);
    const ImageSource source = ImageSource::fromContent(std::move(file.content));
    std::optional<ImageSource::Properties> properties = source.properties();
    if (!properties)
        throw ConvertError(Kind::sourceUnreadable);
    ReadPhoto photo{std::move(*properties), {}, source.exifBlock(), file.stamp};
    // A photo read only in part (a card pulled mid-read, a file cut short) is
    // not sent half grey; one that does not decode at all is the file's fault too.
    // The send's budget bounds the decode, not the fixed limit of the grid's
    // and viewer's decodes: a photo that fits it is read whole.
    const int limitMB = int(std::min<qint64>(MemoryBudget::configuredBytes() / (1024 * 1024), INT_MAX));
    try {
        photo.pixels = source.decodeComplete(rotation != 0, limitMB, stop);
    } catch (const ImageSource::Damaged &) {
        throw ConvertError(Kind::sourceUnreadable);
    }
    if (stop.stop_requested())
        throw WorkStopped();
    // A JPEG decodes to nothing only when it would take more than the limit.
    if (photo.pixels.isNull())
        throw ConvertError(isJpeg ? Kind::pictureTooLarge : Kind::sourceUnreadable);
    if (rotation != 0) {
        try {
            photo.pixels = rotateImage(photo.pixels, rotation);
        } catch (const ImageRotationError &) {
            photo.pixels = QImage();
        }
    }
    return photo;
}

QCoro::Task<void> ConvertService::convertVideo(QUrl source, QUrl destination, bool highQuality,
                                               std::optional<QDateTime> creationDate)
{
    std::optional<QString> creationTime;
    if (creationDate)
        creationTime = isoText(*creationDate);
    const QString bitrate = highQuality ? QStringLiteral("2M") : QStringLiteral("800k");
    // Once the service stops, no conversion starts.
    m_core->work.throwIfStopped();
    // The log is of no use to the send; failures pass through as they are.
    co_await m_videos.convertToHEVC(std::move(source), std::move(destination), bitrate, std::move(creationTime));
}

std::optional<QDateTime> ConvertService::captureDate(const QUrl &url, MediaItem::Kind kind)
{
    const QString path = url.toLocalFile();
    std::optional<QString> dateTimeOriginal;
    if (kind == MediaItem::Kind::photo) {
        if (const auto properties = ImageSource(path).properties())
            dateTimeOriginal = properties->dateTimeOriginal;
    }
    return ownDate(dateTimeOriginal, QFileInfo(path).lastModified());
}

QImage ConvertService::rotateImage(const QImage &image, int degrees)
{
    const QImage turned = turnedClockwise(image, degrees);
    if (turned.isNull())
        throw ImageRotationError();
    return turned;
}

QImage ConvertService::loadRotatedImage(const QUrl &url, int maxPixelSize, int degrees)
{
    const QImage picture = ImageSource(url.toLocalFile()).decode(maxPixelSize, true);
    const int rotation = normalisedRotation(degrees);
    if (picture.isNull() || rotation == 0)
        return picture;
    try {
        return rotateImage(picture, rotation);
    } catch (const ImageRotationError &) {
        return picture;
    }
}

int ConvertService::normalisedRotation(int degrees)
{
    const int r = degrees % 360;
    return r < 0 ? r + 360 : r;
}

QString ConvertService::exifDateText(const QDateTime &date)
{
    return date.toLocalTime().toString(exifDatePattern);
}

std::optional<QDateTime> ConvertService::parseExifDate(const QString &text)
{
    const QDateTime date = QDateTime::fromString(text.trimmed(), exifDatePattern);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString ConvertService::isoText(const QDateTime &date)
{
    return date.toUTC().toString(Qt::ISODate);
}

} // namespace pomelark
