#include "services/PhotoCost.h"

#include "platform/FileDescriptor.h"
#include "platform/HeifWriter.h"
#include "platform/ImageSource.h"
#include "platform/JpegFootprint.h"
#include "platform/JpegSegments.h"

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

/// A picture of `size` at `bitsPerPixel` in Qt's lines, either way up when
/// `turned`: a turned photo is stood upright by its EXIF orientation (which
/// is not read here) before it is turned.
qint64 pictureBytes(QSize size, int bitsPerPixel, bool turned)
{
    const qint64 stored = lineBytes(size.width(), bitsPerPixel) * size.height();
    return turned ? std::max(stored, lineBytes(size.height(), bitsPerPixel) * size.width()) : stored;
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

/// A segment's own record where a reader keeps it (libjpeg's marker list,
/// with the allocation's own header); measured at about 80 bytes.
constexpr qint64 segmentRecordBytes = 128;
/// A comment's two strings besides their text, as Qt's reader keeps them.
constexpr qint64 commentRecordBytes = 128;
/// What Exiv2 makes of each byte of Photoshop segments: their IPTC data sets,
/// of as little as 5 bytes each, become entries of some 330 bytes in a list
/// that grows by copying (measured at up to 66 times the bytes).
constexpr qint64 photoshopCopies = 72;
/// Allocations below glibc's largest mmap threshold come from its heap, which
/// may keep the pages of those freed: a copy that grew through such sizes
/// leaves up to about this much behind.
constexpr qint64 heapKeptBytes = 32 * 1024 * 1024;
/// The most profile data libjpeg puts together: 255 chunks of 65519 bytes.
/// With more chunks, or chunks it cannot order, it gives none.
constexpr qint64 largestProfileBytes = 255 * 65519;

qint64 keptBytes(const JpegFootprint::Segments &segments)
{
    return segments.bytes + segments.count * segmentRecordBytes;
}

/// What the reads of a JPEG's metadata hold at their peaks, from the sizes of
/// its header's segments (bench/send_memory_bench measures them on files of
/// hundreds of megabytes of segments over a small picture).
struct MetadataCost {
    /// Qt's reader of the photo's properties, and Exiv2 beside it. Qt keeps
    /// the APP1, APP2 and comment segments, joins all APP1 segments (EXIF, XMP
    /// and Extended XMP alike) and the profile's chunks (whatever their
    /// numbers), and keeps each comment as text twice over in UTF-16. The
    /// APP1 join grows by doubling, and at its last growth holds the old array
    /// and its copy at once: up to twice what it joins beside the segments
    /// (300 MB of them took 800 MB beside the file's own bytes).
    /// Exiv2 passes Extended XMP over, joins the profile's chunks into a new
    /// copy at each chunk, old and new at once and the heap keeping freed
    /// ones, and decodes IPTC.
    qint64 properties = 0;
    /// Qt's reader alone, as it reads a turned photo's orientation again.
    qint64 qtHeader = 0;
    /// The decoder keeps the APP2 segments and the profile it joins, and the
    /// picture's colour space a copy of that.
    qint64 decoding = 0;
    /// The profile, held with the picture.
    qint64 profile = 0;

    explicit MetadataCost(const JpegFootprint &footprint)
    {
        const JpegFootprint::Segments &app1 = footprint.applicationSegments[1];
        const JpegFootprint::Segments &app2 = footprint.applicationSegments[2];
        const JpegFootprint::Segments &comments = footprint.comments;
        qtHeader = keptBytes(app1) + 2 * app1.bytes + keptBytes(app2) + footprint.iccProfileBytes
                   + keptBytes(comments) + 4 * comments.bytes + comments.count * commentRecordBytes;
        properties = qtHeader + 2 * footprint.iccProfileBytes + std::min(footprint.iccProfileBytes, heapKeptBytes)
                     + photoshopCopies * footprint.applicationSegments[13].bytes;
        profile = std::min(footprint.iccProfileBytes, largestProfileBytes);
        decoding = keptBytes(app2) + 2 * profile;
    }
};

} // namespace

std::optional<PhotoCost> PhotoCost::ofFile(const QString &path, int rotation)
{
    // One open for all of it: what is worked out is of the file that open
    // found, and its stamp lets the read refuse any other.
    const FileDescriptor file = FileDescriptor::openToRead(path);
    if (!file.isRegularFile())
        return std::nullopt;
    PhotoCost cost;
    cost.m_stamp = FileSnapshot::Stamp::ofOpen(file.get());
    cost.m_turned = rotation != 0;
    cost.m_fileBytes = cost.m_stamp.size;
    const qint64 fileBytes = cost.m_fileBytes;
    // A file larger than any photo is refused unread, for what it is.
    if (!cost.m_stamp.isValid() || fileBytes > ImageSource::largestFileBytes)
        return std::nullopt;
    if (const std::optional<JpegFootprint> footprint = JpegFootprint::readOpen(file.get())) {
        // A header that claims more than its file can hold is damaged: its
        // read says so, whatever memory the computer has.
        if (!footprint->fitsIn(fileBytes) || JpegSegments::tooMany(*footprint))
            return std::nullopt;
        cost.m_size = footprint->size;
        cost.m_pictureBytes = pictureBytes(footprint->size, footprint->grey ? 8 : 32, cost.m_turned);
        const qint64 picture = cost.m_pictureBytes;
        const MetadataCost metadata(*footprint);
        cost.m_metadataBytes = metadataBytes + metadata.profile;
        // libheif's copy of the profile, and the file it writes in memory,
        // which copies it again as it grows.
        cost.m_profileCopiesBytes = 2 * metadata.profile;
        // libjpeg's rows, tables and pools besides its coefficients.
        const qint64 decoderRows = 4 * 1024 * 1024 + qint64(footprint->size.width()) * 64;
        const qint64 decoding = footprint->decoderBytes() + decoderRows + picture + metadata.decoding;
        // Data that ends in zeros is checked by decoding its coefficients
        // again, once from a copy of the file, beside the picture.
        const qint64 tailCheck = picture + fileBytes + footprint->coefficientBytes + decoderRows + metadata.decoding;
        // Stood upright, its orientation read again, and turned, one copy at
        // a time; a mirrored orientation holds one more for a moment.
        const qint64 turning = rotation != 0 ? 3 * picture + metadata.qtHeader + metadata.profile : 0;
        cost.m_reading = fileBytes + metadataBytes + std::max({metadata.properties, decoding, tailCheck, turning});
        return cost;
    }
    QFile device;
    if (::lseek(file.get(), 0, SEEK_SET) != 0 || !device.open(file.get(), QIODevice::ReadOnly))
        return std::nullopt;
    if (JpegSegments::tooMany(device, JpegSegments::Extent::header))
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
    cost.m_pictureBytes = pictureBytes(size, bits, cost.m_turned);
    cost.m_rgbCopy = format != QImage::Format_RGB32 && format != QImage::Format_Grayscale8;
    // Decoded twice, each from a copy of the file with what follows it, to
    // tell a whole picture from a cut one; the second stood upright beside the first.
    cost.m_reading = 3 * fileBytes + metadataBytes + 3 * cost.m_pictureBytes;
    return cost;
}

bool PhotoCost::sideTooLong() const
{
    return std::max(m_size.width(), m_size.height()) > HeifWriter::largestSide;
}

qint64 PhotoCost::converting(bool highQuality) const
{
    const qint64 coded = codedBytesBound(m_size, m_fileBytes, highQuality);
    qint64 encoding = HeifWriter::peakBytes(m_size, m_pictureBytes, m_rgbCopy, coded);
    // The encoder's rows and columns of coding units cost differently: a
    // turned picture may reach it either way up.
    if (m_turned)
        encoding = std::max(encoding, HeifWriter::peakBytes(m_size.transposed(), m_pictureBytes, m_rgbCopy, coded));
    return encoding + m_metadataBytes + m_profileCopiesBytes + libraryBytes;
}

} // namespace pomelark
