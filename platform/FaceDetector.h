#pragma once

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>

namespace pomelark {

/// One face found in an image.
struct DetectedFace {
    QRectF bounds;             ///< in the analysed image's pixels, as stored
    /// 0…1; 0.5 is the calibrated operating point: faces at or above it are real
    /// faces in all but rare cases, and faceless photos give none.
    float confidence = 0;
    /// Radians: the clockwise turn that stands the face upright, in (−π, π].
    double roll = 0;
    /// The 68 landmark points (dlib's numbering) in the image's pixels; empty when
    /// the landmark model could not be loaded.
    QList<QPointF> landmarks;
    /// The detector's raw margin, before it is mapped to `confidence`.
    double score = 0;
};

/// Faces at any roll: an upright-face detector is run on the image turned by 0, 90,
/// 180 and 270 degrees, detections of one face are merged, and the landmarks refine
/// the angle. Safe to call from several threads at once: each thread gets its own
/// detector, and the landmark model is loaded once and shared read-only.
class FaceDetector {
public:
    /// Every face with a confidence of at least `minConfidence`, strongest first.
    /// An empty list for a null image. When the landmark model is missing, faces
    /// carry no landmarks and their roll is the quarter turn they were found in.
    static QList<DetectedFace> detect(const QImage &image, float minConfidence = 0.2f);

    /// Maps a raw detector margin to a confidence (monotonic, 0.5 at the operating point).
    static float confidenceForScore(double score);

    /// Whether the landmark model was found and loaded.
    static bool hasLandmarkModel();
};

} // namespace pomelark
