#pragma once

#include "platform/FeaturePrint.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace pomelark {

/// A face as the sideways-photo vote sees it.
struct FaceObservation {
    float confidence = 0;          ///< 0…1
    std::optional<double> roll;    ///< radians, the clockwise turn that stands the face up
};

/// The image analyses the similar-photo and sideways-photo tools stand on. Every
/// call reads the file anew and may run on any thread, several at once. None
/// throws: a file that cannot be read or analysed gives the empty answer.
class PhotoAnalyses {
public:
    virtual ~PhotoAnalyses() = default;

    /// The feature print of the downsampled photo; nothing when it cannot be made.
    virtual std::optional<FeaturePrint> featurePrint(const QString &path) const = 0;
    /// Distance from `print` to `other`; nothing when it cannot be computed.
    virtual std::optional<float> distance(const FeaturePrint &print, const FeaturePrint &other) const = 0;
    /// One capture quality per face of the downsampled photo that has one.
    virtual QList<float> faceQualities(const QString &path) const = 0;
    /// Every face found in the downsampled photo, as stored (orientation not applied).
    virtual QList<FaceObservation> faceRectangles(const QString &path) const = 0;
    /// The orientation property of the file, when it has one that reads as an integer.
    virtual std::optional<int> exifOrientation(const QString &path) const = 0;
};

/// The analyses on this platform's layers (FeaturePrint, FaceDetector, FaceQuality).
std::shared_ptr<const PhotoAnalyses> platformPhotoAnalyses();

} // namespace pomelark
