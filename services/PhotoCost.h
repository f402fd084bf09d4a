#pragma once

#include "platform/FileSnapshot.h"

#include <QSize>
#include <QString>

#include <optional>

namespace pomelark {

/// What sending one photo holds in memory at its peaks, worked out from its
/// file's size and header before any of its pixels are decoded.
///
/// Each figure is meant as a bound: the measured peaks of this build's decoder
/// and encoder (bench/send_memory_bench) stay under it, by at most about a
/// quarter for the photos cameras and phones make.
class PhotoCost {
public:
    /// The cost of the photo at `path` turned by `rotation` (0…359) degrees,
    /// all from one open of it; nothing when it is no regular file, its header
    /// cannot be read, claims more than its file can hold or holds more
    /// segments than are read, or its file is larger than any photo (its read
    /// fails then too, reading nothing of it). Opens nothing that may block.
    static std::optional<PhotoCost> ofFile(const QString &path, int rotation);

    /// While its file is read and its picture decoded and turned: the file's
    /// bytes, the copies the metadata readers make of its header's segments,
    /// the decoder's buffers, the tail check's decodes, a turned copy.
    qint64 reading() const { return m_reading; }
    /// Its picture and metadata, read and waiting for its encode.
    qint64 held() const { return m_pictureBytes + m_metadataBytes; }
    /// From its picture to the written HEIC at the quality asked for: the
    /// picture until its 4:2:0 copy is made, then that copy and the encoder,
    /// beside the metadata, the encode's copies of its colour profile and the
    /// libraries' own pages.
    qint64 converting(bool highQuality) const;
    /// The most its whole conversion holds at once.
    qint64 peak(bool highQuality) const { return std::max(m_reading, converting(highQuality)); }

    /// The picture's size as stored.
    QSize size() const { return m_size; }
    /// The file whose cost this is, as the open its header was read through
    /// found it: a read of any other version is not covered.
    const FileSnapshot::Stamp &stamp() const { return m_stamp; }
    /// Whether a side is longer than HEIF readers open: no memory would let it
    /// be sent.
    bool sideTooLong() const;

private:
    /// The EXIF block and the odds and ends held beside the picture.
    static constexpr qint64 metadataBytes = 256 * 1024;
    /// What a conversion leaves resident in a process that has converted
    /// nothing yet, whatever its picture: the pages of the decoder, the
    /// metadata readers, libheif and x265 it runs through. Measured at 7 MB on
    /// 1 to 8 CPUs, from 64 × 64 to 12-MP photos; x265's threads, which grow
    /// with the CPUs, are in the encoder's own figure.
    static constexpr qint64 libraryBytes = 8 * 1024 * 1024;

    QSize m_size;
    FileSnapshot::Stamp m_stamp;
    qint64 m_fileBytes = 0;
    qint64 m_pictureBytes = 0;
    /// The metadata held beside the picture: its colour profile too.
    qint64 m_metadataBytes = metadataBytes;
    /// The encode's own copies of the colour profile.
    qint64 m_profileCopiesBytes = 0;
    /// Pictures in neither 32-bit RGB nor grey are made 32-bit RGB for their encode.
    bool m_rgbCopy = false;
    /// Turned by the send: its picture may be encoded either way up.
    bool m_turned = false;
    qint64 m_reading = 0;
};

} // namespace pomelark
