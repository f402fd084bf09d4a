// The only file that includes dlib: its headers are heavy and slow to compile.
#include "platform/FaceDetector.h"

#include "platform/CvImage.h"

#include <dlib/image_processing.h>
#include <dlib/image_processing/frontal_face_detector.h>
#include <dlib/opencv/cv_image.h>
#include <opencv2/imgproc.hpp>

#include <QFile>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <numbers>

namespace pomelark {

namespace {

// The detector's margin at which a detection counts as a face (confidence 0.5) and
// how quickly confidence rises around it. Chosen on the face and faceless
// photographs of the calibration set turned four ways: see the test suite's
// calibration cases.
constexpr double operatingScore = 0.25;
constexpr double scoreScale = 0.25;

// Two detections whose boxes overlap this much are one face seen at two turns.
constexpr double sameFaceOverlap = 0.3;

// Longer side, in pixels, that faces are looked for at.
constexpr int detectionSide = 1024;

const dlib::shape_predictor *landmarkModel()
{
    static std::unique_ptr<dlib::shape_predictor> model;
    static std::once_flag loaded;
    std::call_once(loaded, [] {
        const QString path = qEnvironmentVariable("POMELARK_LANDMARK_MODEL", QStringLiteral(POMELARK_LANDMARK_MODEL));
        if (!QFile::exists(path))
            return;
        try {
            auto predictor = std::make_unique<dlib::shape_predictor>();
            dlib::deserialize(QFile::encodeName(path).toStdString()) >> *predictor;
            model = std::move(predictor);
        } catch (const std::exception &) {
            // A damaged model file: faces are still found, without landmarks.
        }
    });
    return model.get();
}

dlib::frontal_face_detector &threadDetector()
{
    // dlib's detector keeps scratch state while scanning: one per thread.
    thread_local dlib::frontal_face_detector detector = dlib::get_frontal_face_detector();
    return detector;
}

/// Maps a point of the image turned clockwise by `turns` quarter turns back to
/// the image as stored (`size` is the stored image's size).
QPointF unturn(QPointF p, int turns, QSize size, double scale)
{
    p /= scale;
    const double w = size.width() - 1, h = size.height() - 1;
    switch (turns) {
    case 1: return {p.y(), h - p.x()};
    case 2: return {w - p.x(), h - p.y()};
    case 3: return {w - p.y(), p.x()};
    default: return p;
    }
}

QRectF unturn(const dlib::rectangle &r, int turns, QSize size, double scale)
{
    const QPointF a = unturn(QPointF(r.left(), r.top()), turns, size, scale);
    const QPointF b = unturn(QPointF(r.right(), r.bottom()), turns, size, scale);
    return QRectF(a, b).normalized();
}

double overlap(const QRectF &a, const QRectF &b)
{
    const QRectF common = a.intersected(b);
    const double shared = common.width() * common.height();
    const double joined = a.width() * a.height() + b.width() * b.height() - shared;
    return joined > 0 ? shared / joined : 0;
}

QPointF centre(const dlib::full_object_detection &shape, unsigned long first, unsigned long last)
{
    QPointF sum;
    for (unsigned long i = first; i <= last; ++i)
        sum += QPointF(shape.part(i).x(), shape.part(i).y());
    return sum / double(last - first + 1);
}

double normalisedAngle(double radians)
{
    double a = std::remainder(radians, 2 * std::numbers::pi);
    if (a <= -std::numbers::pi)
        a += 2 * std::numbers::pi;
    return a;
}

cv::Mat turned(const cv::Mat &grey, int turns)
{
    if (turns == 0)
        return grey;
    cv::Mat out;
    cv::rotate(grey, out, turns == 1 ? cv::ROTATE_90_CLOCKWISE
                          : turns == 2 ? cv::ROTATE_180
                                       : cv::ROTATE_90_COUNTERCLOCKWISE);
    return out;
}

double scoreForConfidence(float confidence)
{
    const double c = std::clamp(double(confidence), 1e-6, 1 - 1e-6);
    return operatingScore + scoreScale * std::log(c / (1 - c));
}

} // namespace

float FaceDetector::confidenceForScore(double score)
{
    return float(1.0 / (1.0 + std::exp(-(score - operatingScore) / scoreScale)));
}

bool FaceDetector::hasLandmarkModel()
{
    return landmarkModel() != nullptr;
}

QList<DetectedFace> FaceDetector::detect(const QImage &image, float minConfidence)
{
    cv::Mat grey = toGreyMat(image);
    if (grey.empty())
        return {};
    // The detector's window is 80 pixels: a small photo is enlarged towards the size
    // of a downsampled camera photo so its faces are looked for as closely.
    const double scale = std::clamp(double(detectionSide) / std::max(grey.cols, grey.rows), 1.0, 2.0);
    if (scale > 1.0)
        cv::resize(grey, grey, cv::Size(), scale, scale, cv::INTER_LINEAR);
    const dlib::shape_predictor *model = landmarkModel();
    const double threshold = scoreForConfidence(minConfidence);

    QList<DetectedFace> candidates;
    for (int turns = 0; turns < 4; ++turns) {
        const cv::Mat upright = turned(grey, turns);
        const dlib::cv_image<unsigned char> view(upright);
        std::vector<dlib::rect_detection> found;
        threadDetector()(view, found, threshold);
        for (const dlib::rect_detection &detection : found) {
            DetectedFace face;
            face.score = detection.detection_confidence;
            face.confidence = confidenceForScore(face.score);
            face.bounds = unturn(detection.rect, turns, image.size(), scale);
            double tilt = 0;
            if (model) {
                const dlib::full_object_detection shape = (*model)(view, detection.rect);
                // Eye centres in the turned frame (y down): the eye line's angle is how far
                // the face leans clockwise there, which the clockwise quarter turns undo.
                const QPointF imageLeftEye = centre(shape, 36, 41);
                const QPointF imageRightEye = centre(shape, 42, 47);
                const QPointF across = imageRightEye - imageLeftEye;
                tilt = std::atan2(across.y(), across.x());
                for (unsigned long i = 0; i < shape.num_parts(); ++i)
                    face.landmarks.append(unturn(QPointF(shape.part(i).x(), shape.part(i).y()), turns, image.size(), scale));
            }
            face.roll = normalisedAngle(turns * std::numbers::pi / 2 - tilt);
            candidates.append(face);
        }
    }

    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const DetectedFace &a, const DetectedFace &b) { return a.score > b.score; });
    QList<DetectedFace> faces;
    for (const DetectedFace &candidate : candidates) {
        const bool seen = std::any_of(faces.begin(), faces.end(), [&](const DetectedFace &kept) {
            return overlap(kept.bounds, candidate.bounds) > sameFaceOverlap;
        });
        if (!seen)
            faces.append(candidate);
    }
    return faces;
}

} // namespace pomelark
