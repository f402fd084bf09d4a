#include "browsing/TileSources.h"

#include "services/ThumbnailMemoryCache.h"
#include "services/ThumbnailService.h"

namespace pomelark {

TileSources TileSources::shared()
{
    return {[](QUrl url) { return ThumbnailMemoryCache::shared().thumbnail(std::move(url)); },
            [](QUrl url) { return ThumbnailService::shared().videoInfo(std::move(url)); }};
}

} // namespace pomelark
