#pragma once

#include "support/GalleryPictures.h"
#include "support/ShownTexts.h"

#include "look/ActivitySpinner.h"
#include "look/Palette.h"

#include <QWidget>

#include <algorithm>
#include <cstdlib>

namespace pomelark::test {

/// Saves a picture of `widget` under the build folder (tidy-send-gallery/) for a
/// person to look at; returns whether it was written and shows something.
inline bool saveToGallery(QWidget &widget, const QString &name)
{
    const QImage image = widget.grab().toImage();
    return showsSomething(image, 4) && image.save(galleryPath(name + QStringLiteral(".png")));
}

/// How far the brightest spoke of the small spinner centred in `frame` (in
/// `widget`'s coordinates) stands out from the placeholder around it.
inline int spinnerContrast(QWidget &widget, const QRectF &frame)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Palette::surface());
    widget.render(&image);
    const int ground = qGray(image.pixel(int(frame.left()) + 4, int(frame.center().y())));
    const qreal half = ActivitySpinner::side(ActivitySpinner::Size::small) / 2.0;
    const QRect spinner = QRectF(frame.center() - QPointF(half, half), frame.center() + QPointF(half, half)).toRect();
    int contrast = 0;
    for (int y = spinner.top(); y <= spinner.bottom(); ++y)
        for (int x = spinner.left(); x <= spinner.right(); ++x)
            contrast = std::max(contrast, std::abs(qGray(image.pixel(x, y)) - ground));
    return contrast;
}

} // namespace pomelark::test
