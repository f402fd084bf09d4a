#pragma once

#include <QByteArrayView>
#include <QSize>
#include <QString>

#include <array>
#include <optional>

struct jpeg_decompress_struct;

namespace pomelark {

/// What decoding a JPEG holds in memory, as its header tells before any of it
/// is taken. A damaged header can claim any picture, and a decoder takes it at
/// its word: a file of a kilobyte can ask for gigabytes.
struct JpegFootprint {
    QSize size;              ///< stored size
    bool grey = false;       ///< one component, decoded to one byte a pixel
    bool arithmetic = false; ///< arithmetic-coded rather than Huffman-coded
    /// Progressive, or sequential in more than one scan: the decoder holds
    /// the whole picture's coefficients before its first row comes out.
    bool severalScans = false;
    /// The 8 × 8 blocks of every component.
    qint64 blocks = 0;
    /// The whole picture's coefficients, 2 bytes for each sample of each
    /// component at its stored size whatever the output's scale, as libjpeg
    /// lays them out (whole MCUs).
    qint64 coefficientBytes = 0;

    /// Segments of one kind in the header, before the first scan.
    struct Segments {
        qint64 count = 0;
        qint64 bytes = 0; ///< their contents, without their markers and lengths
    };
    /// The application segments by their number (APP0 to APP15), where EXIF
    /// (APP1), colour profiles (APP2) and IPTC (APP13) live: readers of
    /// metadata copy them, some several times over. A file can carry hundreds
    /// of megabytes of them over a picture of a few pixels.
    std::array<Segments, 16> applicationSegments{};
    /// The comment (COM) segments.
    Segments comments;
    /// The profile data in the APP2 segments marked as ICC profile chunks,
    /// however many there are and whatever their numbers say.
    qint64 iccProfileBytes = 0;

    /// What the decoder itself holds while it decodes, besides a few rows.
    qint64 decoderBytes() const { return severalScans ? coefficientBytes : 0; }
    /// An output picture of `output` pixels, as Qt and our decoder make it.
    qint64 outputBytes(QSize output) const;
    /// The size libjpeg decodes the picture at when scaled by `eighths` / 8.
    QSize scaledBy(int eighths) const;
    /// Whether a file of `fileBytes` bytes can hold the whole picture. Huffman
    /// coding takes at least a bit for each block in its first scan; arithmetic
    /// coding can take less, so any size may hold it.
    bool fitsIn(qint64 fileBytes) const;

    /// What the header of the JPEG file `content` tells, its segments
    /// included, or nothing when it cannot be read.
    static std::optional<JpegFootprint> read(QByteArrayView content);
    /// The same of the file at `path`, of which it reads only the header.
    static std::optional<JpegFootprint> readFile(const QString &path);
    /// The same of the regular file open at `fd`, read from its start; `fd`
    /// stays open, where its reading left it.
    static std::optional<JpegFootprint> readOpen(int fd);
    /// What the header read into `info` tells, but for its segments, which
    /// libjpeg does not count.
    static JpegFootprint of(const jpeg_decompress_struct &info);
};

} // namespace pomelark
