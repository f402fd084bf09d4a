#pragma once

#include "support/Fixtures.h"
#include "support/GalleryPictures.h"
#include "support/TempFolder.h"
#include "support/WidgetEvents.h"

#include "services/BestShotGroup.h"

#include <QImage>
#include <QUuid>

#include <optional>

namespace pomelark::test {

/// Photos on disk for groups of similar shots, made as the tests ask for them.
class ShotFolder {
public:
    /// A JPEG named `name` of `size`, made once per name.
    QUrl photo(const QString &name, QSize size = {160, 120})
    {
        const QString path = m_folder.filePath(name);
        if (!QFile::exists(path))
            makeJpeg(path, JpegRecipe{size});
        return QUrl::fromLocalFile(path);
    }

    /// A group of `count` photos "<prefix>-1.jpg" … with the given best shot.
    BestShotGroup group(const QString &prefix, int count, std::optional<int> bestIndex)
    {
        MediaItems items;
        for (int i = 1; i <= count; ++i)
            items.append({QUuid::createUuid(), photo(prefix + u'-' + QString::number(i) + u".jpg"),
                          MediaItem::Kind::photo});
        return BestShotGroup(items, bestIndex);
    }

private:
    TempFolder m_folder;
};

/// Whether a colour is mostly red or mostly blue, as the fixture picture's marks are.
inline bool isReddish(QRgb pixel)
{
    return qRed(pixel) > 150 && qBlue(pixel) < 110 && qGreen(pixel) < 110;
}
inline bool isBluish(QRgb pixel)
{
    return qBlue(pixel) > 150 && qRed(pixel) < 110 && qGreen(pixel) < 110;
}

} // namespace pomelark::test
