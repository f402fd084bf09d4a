#include "platform/ImageSource.h"

#include "platform/FileDescriptor.h"
#include "platform/FileSnapshot.h"
#include "platform/ImageTurns.h"
#include "platform/JpegFootprint.h"
#include "platform/JpegSegments.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <cmath>

namespace pomelark {

namespace {

/// Files up to this size are read into memory whole for a scaled decode.
constexpr int inMemoryLimitMB = 64;

/// A file that remembers whether a read of it failed. Its own error will not
/// do: the image reader seeks back after a failed look, which clears it.
class ReadWatchedFile : public QFile {
public:
    bool readFailed() const { return m_readFailed; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 read = QFile::readData(data, maxSize);
        m_readFailed = m_readFailed || read < 0;
        return read;
    }

private:
    bool m_readFailed = false;
};

/// The EXIF orientation that Qt's `transformation` stands for.
int orientationOf(QImageIOHandler::Transformations transformation)
{
    switch (int(transformation)) {
    case QImageIOHandler::TransformationMirror:
        return 2;
    case QImageIOHandler::TransformationRotate180:
        return 3;
    case QImageIOHandler::TransformationFlip:
        return 4;
    case QImageIOHandler::TransformationFlipAndRotate90:
        return 5;
    case QImageIOHandler::TransformationRotate90:
        return 6;
    case QImageIOHandler::TransformationMirrorAndRotate90:
        return 7;
    case QImageIOHandler::TransformationRotate270:
        return 8;
    default:
        break;
    }
    return 1;
}

/// Reads the image, stood upright by its orientation when asked. The turn is
/// ours: Qt's own drops the colour profile.
QImage read(QImageReader &reader, bool applyOrientation)
{
    reader.setAutoTransform(false);
    const QImage image = reader.read();
    if (!applyOrientation || image.isNull())
        return image;
    return uprightByOrientation(image, orientationOf(reader.transformation()));
}

/// What Exiv2 reads of the EXIF block of the file at `path`, or of `content`
/// when given; empty when there is none or it cannot be parsed. `byteOrder`
/// gets the block's own.
Exiv2::ExifData readExif(const QString &path, const std::optional<QByteArray> &content,
                         Exiv2::ByteOrder *byteOrder = nullptr)
{
    // Exiv2 opens a path as it is: through our own open of the file, which
    // does not block and takes only a regular file, its opens reach that file
    // whatever takes its name meanwhile.
    const FileDescriptor file = content ? FileDescriptor() : FileDescriptor::openToRead(path);
    if (!content && !file.isRegularFile())
        return {};
    // Its header walked through the same open that Exiv2's reaches.
    if (content ? JpegSegments::tooMany(*content, JpegSegments::Extent::header)
                : JpegSegments::tooMany(file.get(), JpegSegments::Extent::header))
        return {};
    try {
        auto image = content ? Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte *>(content->constData()),
                                                         long(content->size()))
                             : Exiv2::ImageFactory::open("/proc/self/fd/" + std::to_string(file.get()));
        if (!image.get())
            return {};
        image->readMetadata();
        if (byteOrder)
            *byteOrder = image->byteOrder();
        return image->exifData();
    } catch (const std::exception &) {
        // A file Exiv2 cannot parse simply has no EXIF.
    }
    return {};
}

/// Qt's readers give what they could of a picture whose file ends early (a
/// BMP without its top rows, a GIF without its bottom ones). None reads past
/// the end of a whole picture, so a whole one decodes the same whatever
/// follows it, while one cut short takes what follows into its pixels, or
/// fails: decoded once followed by zeros and once by ones, it differs.
QImage decodeWholeWithQt(const QByteArray &content, bool applyOrientation, int limitMB)
{
    // Plenty: a cut picture shows what follows it within its first bytes.
    constexpr qsizetype followingBytes = 64 * 1024;
    const auto decodeFollowedBy = [&](char filler) {
        QBuffer buffer;
        buffer.setData(content + QByteArray(followingBytes, filler));
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setDecideFormatFromContent(true);
        reader.setAllocationLimit(limitMB);
        return read(reader, applyOrientation);
    };
    const QImage onZeros = decodeFollowedBy('\0');
    const QImage onOnes = decodeFollowedBy('\xff');
    // Indexed pictures compare by colour, and what follows may have made
    // their palette as well as their pixels.
    if (onZeros != onOnes || onZeros.colorTable() != onOnes.colorTable())
        throw ImageSource::Damaged("the picture data ends early");
    return onZeros;
}

/// Whether what `reader` is to read is a JPEG of more segments, within
/// `extent`, than are read: one its reader would keep them all of, however
/// long that took. Walked before the reader reads anything.
bool tooManySegments(const QImageReader &reader, JpegSegments::Extent extent)
{
    return reader.device() && JpegSegments::tooMany(*reader.device(), extent);
}

constexpr qint64 limitBytes = qint64(ImageSource::allocationLimitMB) * 1024 * 1024;

/// Whether a picture of `size` in `format` decodes whole within the limit.
bool fitsWhole(QSize size, QImage::Format format)
{
    const int bits = format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
    return qint64(size.width()) * size.height() * std::max(bits / 8, 1) <= limitBytes;
}

/// Whether Qt's JPEG reader decodes the picture of `footprint`, from a file of
/// `fileBytes`, to `size` within the limit. Scaling, it has libjpeg decode at
/// the nearest eighth above, reading a few rows at a time, and smooth-scales
/// that picture to `size`.
bool decodesWithin(const JpegFootprint &footprint, qint64 fileBytes, QSize size)
{
    if (!footprint.fitsIn(fileBytes))
        return false;
    qint64 bytes = footprint.decoderBytes() + footprint.outputBytes(size);
    if (size != footprint.size) {
        const double shrink = std::min(double(footprint.size.width()) / size.width(),
                                       double(footprint.size.height()) / size.height());
        bytes += footprint.outputBytes(footprint.scaledBy(std::clamp(int(std::ceil(8 / shrink)), 1, 8)));
    }
    return bytes <= limitBytes;
}

} // namespace

QSize boundedSize(QSize size, int maxPixelSize)
{
    if (size.isEmpty() || maxPixelSize <= 0)
        return size;
    const int longer = std::max(size.width(), size.height());
    if (longer <= maxPixelSize)
        return size;
    const double scale = double(maxPixelSize) / longer;
    return QSize(std::max(1, int(std::lround(size.width() * scale))),
                 std::max(1, int(std::lround(size.height() * scale))));
}

ImageSource::ImageSource(QString path) : m_path(std::move(path)) {}

ImageSource ImageSource::fromContent(QByteArray content)
{
    ImageSource source{QString()};
    source.m_content = std::move(content);
    return source;
}

void ImageSource::attach(QImageReader &reader, QBuffer &buffer, QFile &file) const
{
    if (m_content) {
        buffer.setData(*m_content);
        buffer.open(QIODevice::ReadOnly);
        reader.setDevice(&buffer);
    } else if (FileDescriptor::openRegular(file, m_path)) {
        reader.setDevice(&file);
    }
    // Anything else leaves the reader with nothing to read: it fails as on a
    // file that is not there.
    reader.setDecideFormatFromContent(true);
}

ImageSource::Recognition ImageSource::recognise() const
{
    QBuffer buffer;
    ReadWatchedFile file;
    QImageReader reader;
    const FileDescriptor descriptor = m_content ? FileDescriptor() : FileDescriptor::openToRead(m_path);
    if (m_content) {
        attach(reader, buffer, file);
    } else {
        // Through a file of our own that tells a failed read apart from content
        // that is no image: the reader says only that it cannot read either.
        if (!descriptor.isOpen() || !file.open(descriptor.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
            return Recognition::unreadable;
        reader.setDevice(&file);
        reader.setDecideFormatFromContent(true);
    }
    if (!tooManySegments(reader, JpegSegments::Extent::header) && reader.canRead() && reader.size().isValid())
        return Recognition::image;
    return file.readFailed() ? Recognition::unreadable : Recognition::notImage;
}

std::optional<ImageSource::Properties> ImageSource::properties() const
{
    QBuffer buffer;
    QFile file;
    QImageReader reader;
    attach(reader, buffer, file);
    if (tooManySegments(reader, JpegSegments::Extent::header) || !reader.canRead())
        return std::nullopt;
    Properties properties;
    properties.pixelSize = reader.size();
    if (!properties.pixelSize.isValid())
        return std::nullopt;
    const Exiv2::ExifData exif = readExif(m_path, m_content);
    const auto orientation = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (orientation != exif.end() && orientation->count() > 0) {
        const long value = orientation->toLong();
        if (value >= 1 && value <= 8)
            properties.orientation = int(value);
    }
    const auto date = exif.findKey(Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"));
    if (date != exif.end() && date->count() > 0)
        properties.dateTimeOriginal = QString::fromStdString(date->toString()).trimmed();
    return properties;
}

QByteArray ImageSource::exifBlock() const
{
    Exiv2::ByteOrder byteOrder = Exiv2::invalidByteOrder;
    const Exiv2::ExifData exif = readExif(m_path, m_content, &byteOrder);
    if (exif.empty())
        return {};
    Exiv2::Blob blob;
    try {
        // In the block's own byte order, which its maker note may depend on.
        Exiv2::ExifParser::encode(blob, byteOrder == Exiv2::invalidByteOrder ? Exiv2::littleEndian : byteOrder, exif);
    } catch (const std::exception &) {
        return {};
    }
    return QByteArray(reinterpret_cast<const char *>(blob.data()), qsizetype(blob.size()));
}

QSize coveringSize(QSize size, int side)
{
    const int shorter = std::min(size.width(), size.height());
    if (size.isEmpty() || side <= 0 || shorter <= side)
        return size;
    // In whole numbers, so the shorter side comes out at exactly `side`.
    const auto scaled = [&](int length) { return int((qint64(length) * side + shorter - 1) / shorter); };
    return QSize(scaled(size.width()), scaled(size.height()));
}

QImage ImageSource::decode(int maxPixelSize, bool applyOrientation) const
{
    return decodeScaled(applyOrientation, [maxPixelSize](QSize stored) { return boundedSize(stored, maxPixelSize); });
}

QImage ImageSource::decodeCovering(int side, bool applyOrientation) const
{
    return decodeScaled(applyOrientation, [side](QSize stored) { return coveringSize(stored, side); });
}

QImage ImageSource::decodeScaled(bool applyOrientation, const std::function<QSize(QSize)> &target) const
{
    // From the file's bytes in memory rather than the file: Qt's JPEG reader
    // then hands libjpeg the whole file at once instead of 4 KB at a time, and
    // libjpeg's fast entropy decoder runs throughout (a thumbnail of a 12-MP
    // photo decodes about 7 % faster, reading included). A file too large to
    // hold is read from the file as before.
    QFile file;
    QBuffer buffer;
    QIODevice *device = &buffer;
    if (m_content) {
        buffer.setData(*m_content);
    } else {
        if (!FileDescriptor::openRegular(file, m_path))
            return {};
        if (file.size() <= qint64(inMemoryLimitMB) * 1024 * 1024)
            buffer.setData(file.readAll());
        else
            device = &file;
    }
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(device);
    if (tooManySegments(reader, JpegSegments::Extent::whole))
        return {};
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(allocationLimitMB);
    const QSize stored = reader.size();
    if (stored.isValid()) {
        const QSize size = target(stored);
        if (!decodesWithinLimit(reader, stored, size))
            return {};
        if (size != stored) {
            reader.setScaledSize(size);
            // Above this quality Qt's JPEG reader finishes the DCT-scaled image
            // with a smooth scale instead of dropping pixels.
            reader.setQuality(100);
        }
    }
    return read(reader, applyOrientation);
}

bool ImageSource::decodesWithinLimit(QImageReader &reader, QSize stored, QSize size) const
{
    // A damaged header can claim any size. (The format is read only of a
    // header that was read.)
    if (reader.format() != "jpeg")
        return fitsWhole(stored, reader.imageFormat());
    const auto *buffer = qobject_cast<const QBuffer *>(reader.device());
    const std::optional<JpegFootprint> footprint =
        buffer ? JpegFootprint::read(buffer->data()) : JpegFootprint::readFile(m_path);
    const qint64 fileBytes = buffer ? buffer->size() : QFileInfo(m_path).size();
    return footprint && decodesWithin(*footprint, fileBytes, size);
}

QImage ImageSource::decodeFull(bool applyOrientation) const
{
    QBuffer buffer;
    QFile file;
    QImageReader reader;
    attach(reader, buffer, file);
    if (tooManySegments(reader, JpegSegments::Extent::whole))
        return {};
    reader.setAllocationLimit(allocationLimitMB);
    const QSize stored = reader.size();
    if (stored.isValid() && !decodesWithinLimit(reader, stored, stored))
        return {};
    return read(reader, applyOrientation);
}

QImage ImageSource::decodeComplete(bool applyOrientation, int limitMB, std::stop_token stop) const
{
    if (!m_content) {
        auto file = FileSnapshot::read(m_path, largestFileBytes);
        auto *snapshot = std::get_if<FileSnapshot>(&file);
        return snapshot ? fromContent(std::move(snapshot->content)).decodeComplete(applyOrientation, limitMB, stop)
                        : QImage();
    }
    // Whichever reads it: Qt takes for a JPEG any content that begins as one.
    if (JpegSegments::tooMany(*m_content, JpegSegments::Extent::whole))
        throw Damaged("the file holds more segments than are read");
    if (!JpegDecoder::isJpeg(*m_content))
        return decodeWholeWithQt(*m_content, applyOrientation, limitMB);
    const QImage image = JpegDecoder::decode(*m_content, limitMB, stop);
    if (!applyOrientation || image.isNull())
        return image;
    // The same reading of the orientation as decode()'s.
    QBuffer buffer;
    QFile file;
    QImageReader reader;
    attach(reader, buffer, file);
    return uprightByOrientation(image, orientationOf(reader.transformation()));
}

} // namespace pomelark
