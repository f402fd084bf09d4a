#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace pomelark::test {

/// What a HEIC file holds, as libheif reads it.
struct DecodedHeic {
    QImage shown;       ///< the picture as a viewer shows it (transforms applied), RGB888
    QImage stored;      ///< the coded pixels, transforms ignored, RGB888
    QByteArray exif;    ///< the EXIF block (TIFF structure), empty when there is none
    QByteArray icc;     ///< the ICC profile, empty when there is none
};

/// Reads the primary image of the HEIC file at `path`; nothing when libheif cannot.
std::optional<DecodedHeic> decodeHeic(const QString &path);

/// One EXIF value of a block as text ("" when absent), e.g. "Exif.Photo.DateTimeOriginal".
QString exifValue(const QByteArray &exif, const char *key);

/// Which corner of a fixturePicture() holds its red block after turns and flips:
/// "top-left", "top-right", "bottom-left", "bottom-right", or "none".
QString redCorner(const QImage &image);

} // namespace pomelark::test
