#pragma once

#include "platform/FaceDetector.h"

#include <QImage>
#include <QList>
#include <QString>

namespace pomelark {

/// How well a face was captured, 0…1: sharp, eyes open, facing the camera, large
/// enough and well exposed score high. Only the order of scores between shots of
/// one moment carries meaning.
class FaceQuality {
public:
    /// The quality of `face` as found in `image` (the same image the detector saw).
    /// Without landmarks the eye and pose measures count as middling.
    static float score(const QImage &image, const DetectedFace &face);

    /// One quality per confident face (confidence at least 0.5) of the downsampled
    /// photo at `path`, in detection order; an empty list when the photo cannot be
    /// decoded or shows no face.
    static QList<float> ofFile(const QString &path);
};

} // namespace pomelark
