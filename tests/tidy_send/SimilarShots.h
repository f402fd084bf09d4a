#pragma once

#include "support/Fixtures.h"
#include "support/GalleryPictures.h"
#include "support/TempFolder.h"

#include "services/BestShotGroup.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QImage>
#include <QUuid>
#include <QWidget>

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
            makeJpeg(path, JpegSpec{size});
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

/// Tells `widget` the pointer came in, as the window system would.
inline void sendEnter(QWidget *widget)
{
    const QPointF centre = QRectF(widget->rect()).center();
    QEnterEvent enter(centre, widget->mapTo(widget->window(), centre), widget->mapToGlobal(centre));
    QCoreApplication::sendEvent(widget, &enter);
}

inline void sendLeave(QWidget *widget)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &leave);
}

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
