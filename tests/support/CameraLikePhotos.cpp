#include "support/CameraLikePhotos.h"

#include "support/Fixtures.h"

#include <QDir>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>

namespace pomelark::test {

QList<QImage> samplePhotographs()
{
    QList<QImage> pictures;
    const QDir data(QStringLiteral("/usr/share/doc/opencv-doc/examples/data"));
    for (const QString &name : data.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.png")}, QDir::Files)) {
        QImage picture(data.filePath(name));
        if (!picture.isNull() && picture.width() >= 400 && picture.height() >= 300 && !picture.isGrayscale())
            pictures << picture.convertToFormat(QImage::Format_RGB32);
    }
    if (pictures.isEmpty())
        pictures << fixturePicture(QSize(640, 480));
    return pictures;
}

QImage cameraLikePicture(const QList<QImage> &sources, quint32 seed, QSize size, int grain)
{
    QRandomGenerator random(seed);
    QImage picture(size, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int y = 0; y < size.height();) {
        int rowHeight = 0;
        for (int x = 0; x < size.width();) {
            const QImage &tile = sources.at(int(random.bounded(quint32(sources.size()))));
            const double scale = 1.0 + random.bounded(0.8);
            const QSize tileSize(int(tile.width() * scale), int(tile.height() * scale));
            painter.drawImage(QRect(QPoint(x, y), tileSize), tile);
            x += tileSize.width();
            rowHeight = std::max(rowHeight, tileSize.height());
        }
        y += rowHeight;
    }
    painter.end();
    addGrain(picture, random, grain);
    return picture;
}

void addGrain(QImage &picture, QRandomGenerator &random, int grain)
{
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int n = int(random.bounded(quint32(2 * grain + 1))) - grain;
            line[x] = qRgb(std::clamp(qRed(line[x]) + n, 0, 255), std::clamp(qGreen(line[x]) + n, 0, 255),
                           std::clamp(qBlue(line[x]) + n, 0, 255));
        }
    }
}

} // namespace pomelark::test
