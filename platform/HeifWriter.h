#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>
#include <stdexcept>

namespace pomelark {

class StoppableWork;

/// Writes one still image as a HEIC file (HEVC through libheif's x265 encoder),
/// with an EXIF block and the picture's ICC profile.
///
/// The pixels are encoded as given. HEIF readers ignore the EXIF orientation
/// tag, so a picture that is not stored upright is described by HEIF's own
/// transform properties (`Options::orientation`), and the EXIF block always says
/// orientation 1 so that no reader turns the picture twice.
class HeifWriter {
public:
    /// Why a write failed: the file could not be made at all, or the encoding
    /// or writing of its content failed (a partly written file may remain).
    class Error : public std::runtime_error {
    public:
        /// tooLarge: a side longer than largestSide; nothing was written.
        enum class Kind { destination, encoding, tooLarge };
        Error(Kind kind, const std::string &detail, QString systemReason = {})
            : std::runtime_error(detail), kind(kind), systemReason(std::move(systemReason))
        {
        }
        Kind kind;
        /// What the system reported when a file operation failed, in the
        /// display language ("The disk is full", SystemErrorText); empty when
        /// the failure was not the file system's.
        QString systemReason;
    };

    struct Options {
        /// libheif's lossy quality, 0…100.
        int quality = 80;
        /// How a viewer turns the stored pixels upright, as EXIF orientation 1…8.
        int orientation = 1;
        /// The source's EXIF block (a TIFF structure) to carry over: camera,
        /// exposure, GPS and so on. Empty to write no EXIF block unless a date is
        /// given.
        QByteArray exif;
        /// "YYYY:MM:DD HH:MM:SS": replaces the carried-over DateTimeOriginal.
        std::optional<QString> dateTimeOriginal;
        /// When given, the write throws WorkStopped between its steps once the
        /// work's stop is requested. Its encode, which x265 cannot interrupt,
        /// is an unstoppable step: the stop abandons it, and its result.
        StoppableWork *work = nullptr;
    };

    /// The longest side written. libheif at its default limits refuses to
    /// open a picture with a side over 32768 pixels, and some with a side of
    /// exactly 32768 (those whose padding, for an odd or short other side, it
    /// crops): longer would make a file its own readers refuse.
    static constexpr int largestSide = 32767;

    /// Encodes `pixels` into a new HEIC file at `path`, replacing what is there.
    /// Lets go of the picture before its encode starts: a caller that hands
    /// it over (std::move) has its pixels freed then. Throws Error(tooLarge),
    /// before the file is made, for a side longer than largestSide; Error(destination)
    /// when the file cannot be created and Error(encoding) when the image is
    /// null or encoding or writing fails.
    static void write(QImage pixels, const QString &path, const Options &options);

    /// The most write() holds at once for a picture of `size` whose pixels,
    /// handed over, take `pictureBytes` and whose coded picture takes at most
    /// `codedBytes`: the pixels with their 4:2:0 copy (and a 32-bit RGB copy
    /// when `rgbCopy`, for pictures neither in that format nor grey), then
    /// that copy with the encoder's own memory. The encoder's part was
    /// measured for this build on pictures from 1 to 510 megapixels and on
    /// tall and wide ones down to 32 pixels across; it grows with the pixels
    /// and the margins around them, the rows of coding units times the
    /// encoder's threads, and the coded bytes (held several times over on
    /// their way out). The metadata written with the picture is not in it.
    static qint64 peakBytes(QSize size, qint64 pictureBytes, bool rgbCopy, qint64 codedBytes);

    /// The EXIF block (a TIFF structure) that `options` asks for, or an empty
    /// array when there is none to write. The source's embedded thumbnail is
    /// dropped: it shows the old orientation and HEIF has thumbnails of its own.
    static QByteArray exifBlock(const Options &options);
};

} // namespace pomelark
