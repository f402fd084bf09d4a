#pragma once

#include <QString>

#include <optional>

namespace pomelark {

/// The EXIF orientation value of the image at `path` exactly as stored (any
/// integer, in or out of the 1…8 range). Nothing when the file cannot be read
/// or is no regular file, is a JPEG of more segments in its header than are
/// read, has no orientation tag, or the tag does not hold an integer.
std::optional<int> exifOrientation(const QString &path);

} // namespace pomelark
