#include "platform/FaceQuality.h"

#include "platform/CvImage.h"
#include "platform/DownsampledImage.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace pomelark {

namespace {

// Weights of the five measures; each measure is already in 0…1. Sharpness and open
// eyes decide most often between shots of one burst, so they weigh most.
constexpr float sharpnessWeight = 0.30f;
constexpr float eyesWeight = 0.30f;
constexpr float poseWeight = 0.15f;
constexpr float sizeWeight = 0.10f;
constexpr float exposureWeight = 0.15f;

double length(QPointF p)
{
    return std::hypot(p.x(), p.y());
}

/// Eye aspect ratio of the six points of one eye: about 0.3 open, under 0.15 shut.
double eyeOpening(const QList<QPointF> &points, int first)
{
    const double width = length(points[first + 3] - points[first]);
    if (width <= 0)
        return 0;
    const double height = length(points[first + 1] - points[first + 5]) + length(points[first + 2] - points[first + 4]);
    return height / (2 * width);
}

float eyesOpen(const QList<QPointF> &points)
{
    if (points.size() != 68)
        return 0.5f;
    const double ratio = (eyeOpening(points, 36) + eyeOpening(points, 42)) / 2;
    return float(std::clamp((ratio - 0.12) / (0.28 - 0.12), 0.0, 1.0));
}

/// 1 when the nose tip sits midway between the eyes along the eye line, falling
/// as the head turns aside.
float frontal(const QList<QPointF> &points)
{
    if (points.size() != 68)
        return 0.5f;
    QPointF left, right;
    for (int i = 0; i < 6; ++i) {
        left += points[36 + i] / 6.0;
        right += points[42 + i] / 6.0;
    }
    const QPointF across = right - left;
    const double span = length(across);
    if (span <= 0)
        return 0;
    const QPointF middle = (left + right) / 2.0;
    const QPointF nose = points[30] - middle;
    const double offset = std::abs(QPointF::dotProduct(nose, across) / span) / span;
    return float(std::clamp(1.0 - offset / 0.35, 0.0, 1.0));
}

/// Variance of the Laplacian over the face, on a fixed-size copy so faces of every
/// size are judged alike.
float sharpness(const cv::Mat &face)
{
    cv::Mat fixed, laplacian;
    cv::resize(face, fixed, cv::Size(96, 96), 0, 0, cv::INTER_AREA);
    cv::Laplacian(fixed, laplacian, CV_32F);
    cv::Scalar mean, deviation;
    cv::meanStdDev(laplacian, mean, deviation);
    const double variance = deviation[0] * deviation[0];
    // Saturates: past a crisp face more detail does not mean a better capture.
    return float(1.0 - std::exp(-variance / 150.0));
}

float exposure(const cv::Mat &face)
{
    const double mean = cv::mean(face)[0];
    // Best in the middle tones, falling to 0 at black and at white.
    return float(std::clamp(1.0 - std::abs(mean - 128.0) / 128.0, 0.0, 1.0));
}

float size(const QRectF &bounds, QSize image)
{
    const double shorter = std::min(image.width(), image.height());
    if (shorter <= 0)
        return 0;
    return float(std::clamp(bounds.width() / (0.25 * shorter), 0.0, 1.0));
}

} // namespace

float FaceQuality::score(const QImage &image, const DetectedFace &face)
{
    const cv::Mat grey = toGreyMat(image);
    if (grey.empty())
        return 0;
    const cv::Rect box = cv::Rect(int(face.bounds.x()), int(face.bounds.y()), int(face.bounds.width()),
                                  int(face.bounds.height())) &
                         cv::Rect(0, 0, grey.cols, grey.rows);
    if (box.width < 4 || box.height < 4)
        return 0;
    const cv::Mat region = grey(box);
    const float total = sharpnessWeight * sharpness(region) + eyesWeight * eyesOpen(face.landmarks) +
                        poseWeight * frontal(face.landmarks) + sizeWeight * size(face.bounds, image.size()) +
                        exposureWeight * exposure(region);
    return std::clamp(total, 0.f, 1.f);
}

QList<float> FaceQuality::ofFile(const QString &path)
{
    const QImage image = downsampledImage(path);
    QList<float> qualities;
    for (const DetectedFace &face : FaceDetector::detect(image, 0.5f))
        qualities.append(score(image, face));
    return qualities;
}

} // namespace pomelark
