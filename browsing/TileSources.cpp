#include "browsing/TileSources.h"

#include "browsing/GridTile.h"
#include "services/ThumbnailService.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace pomelark {

namespace {

/// The pixels a tile's poster must cover on the densest screen: more would be
/// memory no screen draws (a 4K frame is 33 MB), the player panel reads its
/// larger poster from the file when it opens.
int tilePosterPixels()
{
    qreal ratio = 1;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        for (const QScreen *screen : QGuiApplication::screens())
            ratio = std::max(ratio, screen->devicePixelRatio());
    return int(std::ceil(GridTile::side * ratio));
}

} // namespace

TileSources TileSources::shared()
{
    return {[](QUrl url, ThumbnailMemoryCache::StillWanted stillWanted) {
                return ThumbnailMemoryCache::shared().thumbnailIfStillWanted(std::move(url), std::move(stillWanted));
            },
            [](QUrl url) { return ThumbnailService::shared().videoInfo(std::move(url), tilePosterPixels()); }};
}

} // namespace pomelark
