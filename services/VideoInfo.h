#pragma once

#include <QImage>

namespace pomelark {

/// A video's poster and length, as tiles and the viewer show them.
struct VideoInfo {
    QImage thumbnail;    ///< the poster frame
    double duration = 0; ///< seconds; 0 when ffmpeg's log gave no length
};

} // namespace pomelark
