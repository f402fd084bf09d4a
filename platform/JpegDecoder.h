#pragma once

#include <QImage>
#include <QString>

#include <stdexcept>

namespace pomelark {

/// Decodes a whole JPEG through libjpeg itself, for when every pixel must be
/// the file's own. Qt's reader keeps libjpeg's warnings to its log and fills
/// what it could not read with grey; here a file whose data ends early (a card
/// pulled during the read, a copy cut short) or is damaged is an error.
class JpegDecoder {
public:
    /// The file's data ends early, is damaged, or cannot be decoded at all. The
    /// text is libjpeg's.
    class Damaged : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    /// Whether the file at `path` begins as a JPEG does. False when it cannot be read.
    static bool isJpeg(const QString &path);

    /// The picture at its stored size, its orientation not applied: RGB32 for
    /// colour (CMYK read as Adobe's inverted CMYK, as Qt reads it) or Grayscale8
    /// for grey, with the colour space of its embedded ICC profile. Throws
    /// Damaged. A null image when the file cannot be opened or the picture would
    /// take more than `allocationLimitMB` megabytes.
    static QImage decode(const QString &path, int allocationLimitMB);
};

} // namespace pomelark
