#pragma once

#include "support/GalleryPictures.h"
#include "support/ShownTexts.h"

#include <QWidget>

namespace pomelark::test {

/// Saves a picture of `widget` under the build folder (tidy-send-gallery/) for a
/// person to look at; returns whether it was written and shows something.
inline bool saveToGallery(QWidget &widget, const QString &name)
{
    const QImage image = widget.grab().toImage();
    return showsSomething(image, 4) && image.save(galleryPath(name + QStringLiteral(".png")));
}

} // namespace pomelark::test
