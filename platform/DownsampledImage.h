#pragma once

#include <QImage>
#include <QString>

namespace pomelark {

/// Longest side, in pixels, of the image every photo analysis works on.
inline constexpr int analysisMaxPixelSize = 1024;

/// The photo at `path` decoded at reduced size (JPEG DCT scaling) with its longer
/// side at most 1024 pixels, in its stored pixel orientation: the EXIF
/// orientation is not applied. The only image input of the photo analyses.
/// Returns a null image when the file cannot be opened or decoded.
QImage downsampledImage(const QString &path);

} // namespace pomelark
