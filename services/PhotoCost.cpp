#include "services/PhotoCost.h"

#include "platform/FileDescriptor.h"
#include "platform/HeifWriter.h"
#include "platform/ImageSource.h"
#include "platform/JpegFootprint.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <algorithm>

namespace pomelark {

namespace {

qint64 lineBytes(qint64 width, int bitsPerPixel)
{
    // Qt aligns its lines to 4 bytes.
    return (width * bitsPerPixel + 31) / 32 * 4;
}

/// The most bytes the coded picture can take: in proportion to the JPEG's
/// own data (a JPEG coarser than the encode takes more bits in HEVC than in
/// its own blocks) above a floor for its pixels, never more than noise takes.
/// Measured on made pictures from flat to noise, at JPEG qualities 20 to 95.
qint64 codedBytesBound(QSize size, qint64 fileBytes, bool highQuality)
{
    const double pixels = double(size.width()) * size.height();
    const double perPixel = highQuality ? 0.25 : 0.15;
    const double perFileByte = highQuality ? 2.0 : 1.3;
    const double noise = highQuality ? 1.3 : 0.9;
    return qint64(std::min(noise * pixels, perPixel * pixels + perFileByte * double(fileBytes)));
}

} // namespace

std::optional<PhotoCost> PhotoCost::ofFile(const QString &path, int rotation)
{
    PhotoCost cost;
    cost.m_fileBytes = QFileInfo(path).size();
    const qint64 file = cost.m_fileBytes;
    // A file larger than any photo is refused unread, for what it is.
    if (file > ImageSource::largestFileBytes)
        return std::nullopt;
    if (const std::optional<JpegFootprint> footprint = JpegFootprint::readFile(path)) {
        // A header that claims more than its file can hold is damaged: its
        // read says so, whatever memory the computer has.
        if (!footprint->fitsIn(file))
            return std::nullopt;
        cost.m_size = footprint->size;
        cost.m_pictureBytes = lineBytes(footprint->size.width(), footprint->grey ? 8 : 32) * footprint->size.height();
        const qint64 picture = cost.m_pictureBytes;
        // libjpeg's rows, tables and pools besides its coefficients.
        const qint64 decoderRows = 4 * 1024 * 1024 + qint64(footprint->size.width()) * 64;
        const qint64 decoding = footprint->decoderBytes() + decoderRows + picture;
        // Data that ends in zeros is checked by decoding its coefficients
        // again, once from a copy of the file, beside the picture.
        const qint64 tailCheck = picture + file + footprint->coefficientBytes + decoderRows;
        // Stood upright and turned, one copy at a time; a mirrored orientation
        // holds one more for a moment.
        const qint64 turning = rotation != 0 ? 3 * picture : 0;
        cost.m_reading = file + metadataBytes + std::max({decoding, tailCheck, turning});
        return cost;
    }
    QFile device;
    if (!FileDescriptor::openRegular(device, path))
        return std::nullopt;
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!size.isValid())
        return std::nullopt;
    const QImage::Format format = reader.imageFormat();
    // A format the header does not tell is counted at 64 bits a pixel, the widest Qt reads.
    const int bits = format == QImage::Format_Invalid ? 64 : QImage::toPixelFormat(format).bitsPerPixel();
    cost.m_size = size;
    cost.m_pictureBytes = lineBytes(size.width(), bits) * size.height();
    cost.m_rgbCopy = format != QImage::Format_RGB32 && format != QImage::Format_Grayscale8;
    // Decoded twice, each from a copy of the file with what follows it, to
    // tell a whole picture from a cut one; the second stood upright beside the first.
    cost.m_reading = 3 * file + metadataBytes + 3 * cost.m_pictureBytes;
    return cost;
}

qint64 PhotoCost::converting(bool highQuality) const
{
    return HeifWriter::peakBytes(m_size, m_pictureBytes, m_rgbCopy, codedBytesBound(m_size, m_fileBytes, highQuality));
}

} // namespace pomelark
