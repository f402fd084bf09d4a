#include "platform/DownsampledImage.h"

#include "platform/ImageSource.h"

namespace pomelark {

QImage downsampledImage(const QString &path)
{
    return ImageSource(path).decode(analysisMaxPixelSize, /*applyOrientation=*/false);
}

} // namespace pomelark
