#pragma once

#include <QDir>
#include <QImage>
#include <QWidget>

namespace pomelark::test {

/// Saves a picture of `widget` under the build folder (tidy-send-gallery/) for a
/// person to look at; returns whether it was written and shows something.
inline bool saveToGallery(QWidget &widget, const QString &name)
{
    QDir().mkpath(QStringLiteral(POMELARK_GALLERY_DIR));
    const QImage image = widget.grab().toImage();
    if (image.isNull())
        return false;
    const QRgb first = image.pixel(0, 0);
    bool varied = false;
    for (int y = 0; y < image.height() && !varied; y += 4)
        for (int x = 0; x < image.width() && !varied; x += 4)
            varied = image.pixel(x, y) != first;
    return varied && image.save(QStringLiteral(POMELARK_GALLERY_DIR) + u'/' + name + QStringLiteral(".png"));
}

/// The texts of every label under `root` that is shown, in creation order.
QStringList shownTexts(const QWidget &root);

} // namespace pomelark::test
