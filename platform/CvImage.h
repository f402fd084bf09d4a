#pragma once

// Internal to the analysis layers: OpenCV is not part of the platform's public API.

#include <QImage>

#include <opencv2/core.hpp>

namespace pomelark {

/// A deep copy of `image` as an 8-bit, 3-channel BGR matrix; empty for a null image.
cv::Mat toBgrMat(const QImage &image);

/// A deep copy of `image` as an 8-bit grey matrix; empty for a null image.
cv::Mat toGreyMat(const QImage &image);

} // namespace pomelark
