#include "browsing/TileSources.h"

#include "services/ThumbnailService.h"

namespace pomelark {

TileSources TileSources::shared()
{
    return {[](QUrl url, ThumbnailMemoryCache::StillWanted stillWanted) {
                return ThumbnailMemoryCache::shared().thumbnailIfStillWanted(std::move(url), std::move(stillWanted));
            },
            [](QUrl url) { return ThumbnailService::shared().videoInfo(std::move(url)); }};
}

} // namespace pomelark
