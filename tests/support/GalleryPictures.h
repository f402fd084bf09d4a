#pragma once

// For GUI test folders whose CMake sets POMELARK_GALLERY_DIR: pictures of
// screens and controls saved under the build folder for a person to look at.

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QString>

namespace pomelark::test {

/// The path of `file` (which may name a sub-folder) in this test folder's
/// gallery; makes the folder it goes in when missing (a failure shows later,
/// when saving to the path fails).
inline QString galleryPath(const QString &file)
{
    const QString path = QStringLiteral(POMELARK_GALLERY_DIR) + u'/' + file;
    QDir().mkpath(QFileInfo(path).path());
    return path;
}

/// Whether `image` differs anywhere among the pixels `stride` apart from its
/// first one; an image in one flat colour (or none) shows nothing.
inline bool showsSomething(const QImage &image, int stride)
{
    if (image.isNull())
        return false;
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += stride)
        for (int x = 0; x < image.width(); x += stride)
            if (image.pixel(x, y) != first)
                return true;
    return false;
}

} // namespace pomelark::test
