#include "platform/ImageSource.h"

#include "platform/ImageTurns.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <exiv2/exiv2.hpp>

#include <cmath>

namespace pomelark {

namespace {

/// Files up to this size are read into memory whole for a scaled decode.
constexpr int inMemoryLimitMB = 64;

void prepare(QImageReader &reader)
{
    reader.setDecideFormatFromContent(true);
}

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

struct ExifFacts {
    int orientation = 1;
    std::optional<QString> dateTimeOriginal;
};

ExifFacts readExif(const QString &path)
{
    ExifFacts facts;
    try {
        auto image = Exiv2::ImageFactory::open(path.toStdString());
        if (!image.get())
            return facts;
        image->readMetadata();
        const Exiv2::ExifData &exif = image->exifData();
        const auto orientation = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (orientation != exif.end() && orientation->count() > 0) {
            const long value = orientation->toLong();
            if (value >= 1 && value <= 8)
                facts.orientation = int(value);
        }
        const auto date = exif.findKey(Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"));
        if (date != exif.end() && date->count() > 0)
            facts.dateTimeOriginal = QString::fromStdString(date->toString()).trimmed();
    } catch (const std::exception &) {
        // A file Exiv2 cannot parse simply has no EXIF facts.
    }
    return facts;
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

bool ImageSource::isRecognised() const
{
    QImageReader reader(m_path);
    prepare(reader);
    return reader.canRead() && reader.size().isValid();
}

std::optional<ImageSource::Properties> ImageSource::properties() const
{
    QImageReader reader(m_path);
    prepare(reader);
    if (!reader.canRead())
        return std::nullopt;
    Properties properties;
    properties.pixelSize = reader.size();
    if (!properties.pixelSize.isValid())
        return std::nullopt;
    const ExifFacts exif = readExif(m_path);
    properties.orientation = exif.orientation;
    properties.dateTimeOriginal = exif.dateTimeOriginal;
    return properties;
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
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QIODevice *device = &file;
    if (file.size() <= qint64(inMemoryLimitMB) * 1024 * 1024) {
        bytes = file.readAll();
        file.close();
        buffer.open(QIODevice::ReadOnly);
        device = &buffer;
    }
    QImageReader reader(device);
    prepare(reader);
    reader.setAllocationLimit(allocationLimitMB);
    const QSize stored = reader.size();
    if (stored.isValid()) {
        const QSize size = target(stored);
        if (size != stored) {
            reader.setScaledSize(size);
            // Above this quality Qt's JPEG reader finishes the DCT-scaled image
            // with a smooth scale instead of dropping pixels.
            reader.setQuality(100);
        }
    }
    return read(reader, applyOrientation);
}

QImage ImageSource::decodeFull(bool applyOrientation) const
{
    QImageReader reader(m_path);
    prepare(reader);
    reader.setAllocationLimit(allocationLimitMB);
    return read(reader, applyOrientation);
}

QImage ImageSource::decodeComplete(bool applyOrientation) const
{
    if (!JpegDecoder::isJpeg(m_path))
        return decodeFull(applyOrientation);
    const QImage image = JpegDecoder::decode(m_path, allocationLimitMB);
    if (!applyOrientation || image.isNull())
        return image;
    // The same reading of the orientation as decode()'s.
    QImageReader reader(m_path);
    prepare(reader);
    return uprightByOrientation(image, orientationOf(reader.transformation()));
}

} // namespace pomelark
