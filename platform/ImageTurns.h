#pragma once

#include <QImage>

namespace pomelark {

/// `image` turned clockwise by `degrees` (0, 90, 180 or 270; other values are
/// brought into that range first), in its own pixel format and with its colour
/// space kept: Qt's own transforms drop it, and a photo that loses its profile
/// looks washed out. A null image when `degrees` is no quarter turn or no
/// picture results.
QImage turnedClockwise(const QImage &image, int degrees);

/// `image` stood upright by its EXIF orientation (1…8; anything else leaves it
/// as it is), with its colour space kept.
QImage uprightByOrientation(const QImage &image, int orientation);

} // namespace pomelark
