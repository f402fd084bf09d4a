#include "platform/ImageTurns.h"

#include <QColorSpace>
#include <QTransform>

namespace pomelark {

namespace {

QImage withColourSpaceOf(QImage turned, const QImage &original)
{
    if (!turned.isNull() && original.colorSpace().isValid())
        turned.setColorSpace(original.colorSpace());
    return turned;
}

} // namespace

QImage turnedClockwise(const QImage &image, int degrees)
{
    if (image.isNull() || degrees % 90 != 0)
        return {};
    const int quarterTurns = ((degrees / 90) % 4 + 4) % 4;
    if (quarterTurns == 0)
        return image;
    // Qt turns by whole quarter turns exactly, in the image's own pixel format.
    return withColourSpaceOf(image.transformed(QTransform().rotate(90.0 * quarterTurns)), image);
}

QImage uprightByOrientation(const QImage &image, int orientation)
{
    // Orientations 5 to 8 are a quarter turn after an optional flip or mirror.
    switch (orientation) {
    case 2:
        return withColourSpaceOf(image.mirrored(true, false), image);
    case 3:
        return turnedClockwise(image, 180);
    case 4:
        return withColourSpaceOf(image.mirrored(false, true), image);
    case 5:
        return turnedClockwise(withColourSpaceOf(image.mirrored(false, true), image), 90);
    case 6:
        return turnedClockwise(image, 90);
    case 7:
        return turnedClockwise(withColourSpaceOf(image.mirrored(true, false), image), 90);
    case 8:
        return turnedClockwise(image, 270);
    default:
        break;
    }
    return image;
}

} // namespace pomelark
