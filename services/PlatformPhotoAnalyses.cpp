#include "services/PhotoAnalyses.h"

#include "platform/DownsampledImage.h"
#include "platform/ExifOrientation.h"
#include "platform/FaceDetector.h"
#include "platform/FaceQuality.h"

namespace pomelark {

namespace {

class PlatformPhotoAnalyses final : public PhotoAnalyses {
public:
    std::optional<FeaturePrint> featurePrint(const QString &path) const override
    {
        return FeaturePrint::ofFile(path);
    }

    std::optional<float> distance(const FeaturePrint &print, const FeaturePrint &other) const override
    {
        return print.distance(other);
    }

    QList<float> faceQualities(const QString &path) const override { return FaceQuality::ofFile(path); }

    QList<FaceObservation> faceRectangles(const QString &path) const override
    {
        QList<FaceObservation> faces;
        for (const DetectedFace &face : FaceDetector::detect(downsampledImage(path)))
            faces.append({face.confidence, face.roll});
        return faces;
    }

    std::optional<int> exifOrientation(const QString &path) const override
    {
        return pomelark::exifOrientation(path);
    }
};

} // namespace

std::shared_ptr<const PhotoAnalyses> platformPhotoAnalyses()
{
    static const auto analyses = std::make_shared<const PlatformPhotoAnalyses>();
    return analyses;
}

} // namespace pomelark
