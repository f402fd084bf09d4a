#pragma once

#include <QDir>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

namespace pomelark::test {

/// Saves a picture of `widget` under the build folder (app-gallery/) for a person
/// to look at, and checks that something was drawn.
inline void saveToGallery(QWidget &widget, const QString &name)
{
    const QImage image = widget.grab().toImage();
    bool drawn = false;
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height() && !drawn; y += 2)
        for (int x = 0; x < image.width() && !drawn; x += 2)
            drawn = image.pixel(x, y) != first;
    EXPECT_TRUE(drawn) << name.toStdString() << " is blank";
    QDir().mkpath(QStringLiteral(POMELARK_GALLERY_DIR));
    EXPECT_TRUE(image.save(QStringLiteral(POMELARK_GALLERY_DIR "/") + name + QStringLiteral(".png")));
}

} // namespace pomelark::test
