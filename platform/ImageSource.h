#pragma once

#include "platform/JpegDecoder.h"

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

namespace pomelark {

/// A still image on disk: recognised from its content, its properties read from
/// its header and EXIF block, and decoded on demand, whole or at a bounded size.
///
/// Nothing here writes to the file. Every call opens the file anew, so one
/// instance may be used from any thread, one call at a time.
class ImageSource {
public:
    explicit ImageSource(QString path);

    const QString &path() const { return m_path; }

    /// True when the content (not the name) is an image Qt can decode. Reads the
    /// header only: a JPEG cut short after a whole header is still recognised.
    bool isRecognised() const;

    struct Properties {
        QSize pixelSize;         ///< stored size, before the EXIF orientation is applied
        int orientation = 1;     ///< EXIF orientation 1…8; 1 when absent or out of range
        /// EXIF DateTimeOriginal exactly as stored ("YYYY:MM:DD HH:MM:SS"), when present.
        std::optional<QString> dateTimeOriginal;
    };

    /// The image's properties, or nothing when the file is not a recognised image.
    std::optional<Properties> properties() const;

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
    /// be read: a JPEG whose data ends early or is damaged throws Damaged rather
    /// than give the part that could be decoded. Other images decode as with
    /// decodeFull(). A null image when decoding fails for another reason.
    QImage decodeComplete(bool applyOrientation) const;

    /// Largest image, in megabytes, that a decode may allocate (Qt's default of 256
    /// would refuse the panoramas some cameras make).
    static constexpr int allocationLimitMB = 2048;

private:
    /// Decodes at the size `target` gives for the stored size (DCT-scaled for JPEGs).
    QImage decodeScaled(bool applyOrientation, const std::function<QSize(QSize)> &target) const;

    QString m_path;
};

/// The pixel size that fits `size` inside a `maxPixelSize` square, keeping the
/// aspect ratio; never larger than `size` and never smaller than 1 × 1.
QSize boundedSize(QSize size, int maxPixelSize);

/// The pixel size that covers a `side` square, keeping the aspect ratio (the
/// longer side rounded up); never larger than `size`.
QSize coveringSize(QSize size, int side);

} // namespace pomelark
