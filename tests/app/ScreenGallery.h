#pragma once

#include "support/GalleryPictures.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace pomelark::test {

/// Saves a picture of `widget` under the build folder (app-gallery/) for a person
/// to look at, and checks that something was drawn.
inline void saveToGallery(QWidget &widget, const QString &name)
{
    const QImage image = widget.grab().toImage();
    EXPECT_TRUE(showsSomething(image, 2)) << name.toStdString() << " is blank";
    EXPECT_TRUE(image.save(galleryPath(name + QStringLiteral(".png"))));
}

} // namespace pomelark::test
