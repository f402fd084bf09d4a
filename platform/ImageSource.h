#pragma once

#include "platform/JpegDecoder.h"

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <stop_token>

class QBuffer;
class QFile;
class QImageReader;

namespace pomelark {

/// A still image, on disk or as a file's content read beforehand: recognised
/// from its content, its properties read from its header and EXIF block, and
/// decoded on demand, whole or at a bounded size.
///
/// Nothing here writes to the file. Every call opens the file anew, without
/// blocking, and reads it only when it is a regular file (a named pipe put in
/// a photo's place would wait for a writer), so one instance may be used from
/// any thread, one call at a time. An image made from
/// content never touches a file: all it says comes from those bytes.
///
/// A JPEG of more segments than JpegSegments lets be read is refused before
/// Qt, Exiv2 or our decoder sees it, as content that is no image: by the
/// calls that read its header when they are in its header, and by every
/// decode wherever they are.
class ImageSource {
public:
    explicit ImageSource(QString path);
    /// The image whose file's whole content is `content`.
    static ImageSource fromContent(QByteArray content);

    /// Empty for an image made from content.
    const QString &path() const { return m_path; }

    /// What a look at the content found.
    enum class Recognition { image, notImage, unreadable };

    /// Whether the content (not the name) is an image Qt can decode. Reads the
    /// header only: a JPEG cut short after a whole header is still an image.
    /// `unreadable` when the file cannot be opened or a read of it fails (a
    /// pulled card, a bad sector), which says nothing of its content.
    Recognition recognise() const;

    /// True when recognise() finds an image.
    bool isRecognised() const { return recognise() == Recognition::image; }

    struct Properties {
        QSize pixelSize;         ///< stored size, before the EXIF orientation is applied
        int orientation = 1;     ///< EXIF orientation 1…8; 1 when absent or out of range
        /// EXIF DateTimeOriginal exactly as stored ("YYYY:MM:DD HH:MM:SS"), when present.
        std::optional<QString> dateTimeOriginal;
    };

    /// The image's properties, or nothing when the file is not a recognised image.
    std::optional<Properties> properties() const;

    /// The image's EXIF block as a TIFF structure, as Exiv2 encodes what it
    /// reads of it; empty when there is none or Exiv2 cannot parse it.
    QByteArray exifBlock() const;

    /// Decodes the image with its longer side at most `maxPixelSize`, never enlarged.
    /// JPEGs are decoded at a reduced scale (libjpeg's DCT scaling) rather than
    /// decoded whole and shrunk. With `applyOrientation` the EXIF orientation is
    /// applied to the pixels. Returns a null image when decoding fails.
    QImage decode(int maxPixelSize, bool applyOrientation) const;

    /// Decodes the image just large enough to cover a `side` × `side` square:
    /// its shorter side at `side` pixels, never enlarged, by the same reduced
    /// decode. Returns a null image when decoding fails.
    QImage decodeCovering(int side, bool applyOrientation) const;

    /// Decodes the whole image at its stored size. Returns a null image on failure.
    /// What cannot be read of a JPEG cut short or damaged comes out grey.
    QImage decodeFull(bool applyOrientation) const;

    /// The picture's data ends early or is damaged.
    using Damaged = JpegDecoder::Damaged;

    /// Decodes the whole image at its stored size, and only when all of it can
    /// be read: an image whose data ends early or is damaged throws Damaged
    /// rather than give the part that could be decoded. A null image when it
    /// cannot be decoded at all, or it or its file is too large to: its decode
    /// would take more than `limitMB` megabytes. A JPEG of more segments than
    /// are read throws Damaged. A JPEG's decode throws WorkStopped once `stop`
    /// is requested.
    QImage decodeComplete(bool applyOrientation, int limitMB = allocationLimitMB, std::stop_token stop = {}) const;

    /// Largest file, in bytes, read whole into memory for a complete decode:
    /// far beyond any camera's photo (a 100-MP JPEG at its finest is some
    /// 60 MB), so that a larger file named as a photo is refused unread.
    static constexpr qint64 largestFileBytes = qint64(512) * 1024 * 1024;

    /// Most memory, in megabytes, that a decode may take (Qt's default of 256
    /// would refuse the panoramas some cameras make): its pictures, and for a
    /// JPEG what libjpeg holds besides. Every decode refuses, before it starts,
    /// a picture that would take more, and a Huffman-coded JPEG whose file is
    /// too small to hold the picture its header claims.
    static constexpr int allocationLimitMB = 2048;

private:
    /// Decodes at the size `target` gives for the stored size (DCT-scaled for JPEGs).
    QImage decodeScaled(bool applyOrientation, const std::function<QSize(QSize)> &target) const;
    /// Whether decoding the picture `reader` reads, stored at `stored`, to
    /// `size` takes no more than the limit: for a JPEG, with what its decoder
    /// holds besides the output, and only when its file can hold the picture.
    bool decodesWithinLimit(QImageReader &reader, QSize stored, QSize size) const;
    /// Points `reader` at the content through `buffer`, or at the file through
    /// `file`, opened without blocking when it is a regular file; both must
    /// outlive the reading.
    void attach(QImageReader &reader, QBuffer &buffer, QFile &file) const;

    QString m_path;
    std::optional<QByteArray> m_content;
};

/// The pixel size that fits `size` inside a `maxPixelSize` square, keeping the
/// aspect ratio; never larger than `size` and never smaller than 1 × 1.
QSize boundedSize(QSize size, int maxPixelSize);

/// The pixel size that covers a `side` square, keeping the aspect ratio (the
/// longer side rounded up); never larger than `size`.
QSize coveringSize(QSize size, int side);

} // namespace pomelark
