#include "look/PixelRaster.h"

#include <QCache>

#include <cmath>
#include <vector>

namespace pomelark {

namespace {

// Enough for every face and colouring of the mascot at a few sizes plus the
// motion sprites; beyond it the least recently drawn pictures are made again.
constexpr int cacheCapacity = 512;

struct CacheState {
    QCache<QString, QImage> images{cacheCapacity};
    int rendered = 0;
};

CacheState &cache()
{
    static CacheState state;
    return state;
}

std::vector<int> cellEdges(int cells, double deviceCell)
{
    std::vector<int> edges(size_t(cells) + 1);
    for (int i = 0; i <= cells; ++i)
        edges[size_t(i)] = int(std::lround(i * deviceCell));
    return edges;
}

} // namespace

QImage PixelRaster::render(int columns, int rows, qreal cellSize, qreal ratio, const ColorAt &colorAt)
{
    if (columns <= 0 || rows <= 0 || !(cellSize > 0) || !(ratio > 0))
        return {};
    const std::vector<int> xs = cellEdges(columns, cellSize * ratio);
    const std::vector<int> ys = cellEdges(rows, cellSize * ratio);
    if (xs.back() <= 0 || ys.back() <= 0)
        return {};
    QImage image(xs.back(), ys.back(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const std::optional<QColor> color = colorAt(column, row);
            if (!color)
                continue;
            const QRgb value = qPremultiply(color->rgba());
            for (int y = ys[size_t(row)]; y < ys[size_t(row) + 1]; ++y) {
                auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
                std::fill(line + xs[size_t(column)], line + xs[size_t(column) + 1], value);
            }
        }
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

QImage PixelRaster::cached(const QString &identity, int columns, int rows, qreal cellSize, qreal ratio,
                           const ColorAt &colorAt)
{
    const QString key = identity + u'|' + QString::number(cellSize, 'g', 12) + u'|'
        + QString::number(ratio, 'g', 12);
    CacheState &state = cache();
    if (const QImage *hit = state.images.object(key))
        return *hit;
    const QImage image = render(columns, rows, cellSize, ratio, colorAt);
    ++state.rendered;
    state.images.insert(key, new QImage(image));
    return image;
}

int PixelRaster::renderedCount()
{
    return cache().rendered;
}

void PixelRaster::clearCache()
{
    cache().images.clear();
}

} // namespace pomelark
