#pragma once

// SSIM between two pictures, for the conversion benchmarks (OpenCV's quality module).

#include <QImage>

#include <opencv2/core.hpp>
#include <opencv2/quality.hpp>

namespace pomelark::bench {

/// Mean SSIM over the three colour channels; 0 when the sizes differ.
inline double ssim(const QImage &reference, const QImage &other)
{
    if (reference.size() != other.size())
        return 0;
    const QImage a = reference.convertToFormat(QImage::Format_RGB888);
    const QImage b = other.convertToFormat(QImage::Format_RGB888);
    const cv::Mat ma(a.height(), a.width(), CV_8UC3, const_cast<uchar *>(a.constBits()), size_t(a.bytesPerLine()));
    const cv::Mat mb(b.height(), b.width(), CV_8UC3, const_cast<uchar *>(b.constBits()), size_t(b.bytesPerLine()));
    const cv::Scalar value = cv::quality::QualitySSIM::compute(ma, mb, cv::noArray());
    return (value[0] + value[1] + value[2]) / 3.0;
}

} // namespace pomelark::bench
