#pragma once

#include "services/ThumbnailMemoryCache.h"
#include "services/VideoInfo.h"

#include <QImage>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <functional>
#include <optional>

namespace pomelark {

/// Where tiles get their pictures: the photo thumbnail load sequence and the
/// video poster and length. The app uses the shared services; tests hand in
/// their own.
struct TileSources {
    /// A photo's small picture; nothing when it cannot be decoded. Never fails.
    /// Withdrawn, without a decode, when the tile no longer wants it once its
    /// turn to decode comes.
    std::function<QCoro::Task<ThumbnailLoad>(QUrl, ThumbnailMemoryCache::StillWanted)> thumbnail;
    /// A video's poster and length; throws when they cannot be made.
    std::function<QCoro::Task<VideoInfo>(QUrl)> videoInfo;

    /// The process-wide thumbnail memory cache and thumbnail service.
    static TileSources shared();
};

} // namespace pomelark
