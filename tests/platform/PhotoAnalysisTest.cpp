#include "platform/DownsampledImage.h"
#include "platform/FaceDetector.h"
#include "platform/FaceQuality.h"
#include "platform/FeaturePrint.h"

#include "support/CalibrationSet.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QtConcurrent/QtConcurrentMap>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace pomelark;
using namespace pomelark::test;

TEST(DownsampledImage, BoundsTheLongerSideAndKeepsTheStoredOrientation)
{
    TempFolder folder;
    const QString path = makeJpeg(folder.filePath(QStringLiteral("wide.jpg")), {QSize(2400, 1600), 6});
    const QImage image = downsampledImage(path);
    EXPECT_EQ(image.size(), QSize(1024, 683));   // not turned by orientation 6
    const QString small = makeJpeg(folder.filePath(QStringLiteral("small.jpg")), {QSize(300, 200)});
    EXPECT_EQ(downsampledImage(small).size(), QSize(300, 200));   // never enlarged
    EXPECT_TRUE(downsampledImage(makeTextFile(folder.filePath(QStringLiteral("text.jpg")))).isNull());
    EXPECT_TRUE(downsampledImage(folder.filePath(QStringLiteral("missing.jpg"))).isNull());
}

TEST(FeaturePrint, RefusesWhatItCannotMeasure)
{
    EXPECT_FALSE(FeaturePrint::compute(QImage()).has_value());
    EXPECT_FALSE(FeaturePrint::compute(QImage(4, 4, QImage::Format_RGB32)).has_value());
    QImage flat(64, 48, QImage::Format_RGB32);
    flat.fill(Qt::gray);
    const std::optional<FeaturePrint> print = FeaturePrint::compute(flat);
    ASSERT_TRUE(print.has_value());
    EXPECT_EQ(print->values().size(), size_t(FeaturePrint::length));
    EXPECT_FALSE(print->distance(FeaturePrint({1.f, 2.f})).has_value());
    std::vector<float> broken = print->values();
    broken[0] = std::nanf("");
    EXPECT_FALSE(print->distance(FeaturePrint(broken)).has_value());
}

// The threshold's meaning on real photographs: variants of one shot (reframe, zoom,
// tilt, exposure, focus, noise, recompression) lie under 0.4, different scenes above.
TEST(FeaturePrint, TheThresholdSeparatesShotsOfOneMomentFromDifferentScenes)
{
    TempFolder folder;
    const QList<CalibrationPhoto> photos = makeCalibrationSet(folder.path());
    ASSERT_GE(photos.size(), 200);
    const QList<std::optional<FeaturePrint>> prints = QtConcurrent::blockingMapped(
        photos, [](const CalibrationPhoto &photo) { return FeaturePrint::ofFile(photo.path); });
    int truePositives = 0, falsePositives = 0, positives = 0, negatives = 0;
    for (qsizetype i = 0; i < photos.size(); ++i) {
        ASSERT_TRUE(prints[i].has_value()) << photos[i].path.toStdString();
        for (qsizetype j = i + 1; j < photos.size(); ++j) {
            const bool same = photos[i].source == photos[j].source;
            const bool joined = prints[i]->distance(*prints[j]).value_or(1.f) < 0.4f;
            (same ? positives : negatives) += 1;
            if (joined)
                (same ? truePositives : falsePositives) += 1;
        }
    }
    const double precision = double(truePositives) / std::max(1, truePositives + falsePositives);
    const double recall = double(truePositives) / std::max(1, positives);
    std::printf("pairs: %d same-moment, %d different; precision %.4f, recall %.4f\n", positives, negatives,
                precision, recall);
    EXPECT_GE(precision, 0.95);
    EXPECT_GE(recall, 0.90);
}

namespace {

struct FaceCase {
    const char *file;
    int turn;
};

QString faceSource(const char *name)
{
    for (const QString &path : faceSources())
        if (path.endsWith(QLatin1String(name)))
            return path;
    return {};
}

} // namespace

TEST(FaceDetector, FindsFacesAtEveryQuarterTurnWithTheRollThatStandsThemUp)
{
    TempFolder folder;
    QList<FaceCase> cases;
    for (const char *file : {"2009_004587.jpg", "Tom_Cruise_avp_2014_4.jpg"})
        for (int turn : {0, 90, 180, 270})
            cases.append({file, turn});
    const QList<QList<DetectedFace>> found = QtConcurrent::blockingMapped(cases, [&](const FaceCase &c) {
        const QString source = faceSource(c.file);
        if (source.isEmpty())
            return QList<DetectedFace>();
        const QString path = makeTurnedJpeg(source, folder.filePath(QStringLiteral("%1_%2.jpg").arg(
                                                        QLatin1String(c.file)).arg(c.turn)), c.turn);
        return FaceDetector::detect(downsampledImage(path), 0.5f);
    });
    for (qsizetype i = 0; i < cases.size(); ++i) {
        if (faceSource(cases[i].file).isEmpty())
            GTEST_SKIP() << "face photographs not installed";
        ASSERT_FALSE(found[i].isEmpty()) << cases[i].file << " " << cases[i].turn;
        const DetectedFace &strongest = found[i].first();
        // Turned clockwise by t, the face stands up after a clockwise turn of 360 − t.
        const double expected = std::remainder(double(360 - cases[i].turn), 360.0);
        const double degrees = strongest.roll * 180.0 / M_PI;
        EXPECT_LT(std::abs(std::remainder(degrees - expected, 360.0)), 20.0) << cases[i].file << " " << cases[i].turn;
        EXPECT_GE(strongest.confidence, 0.5f);
        EXPECT_LE(strongest.confidence, 1.0f);
        EXPECT_EQ(strongest.landmarks.size(), FaceDetector::hasLandmarkModel() ? 68 : 0);
    }
}

TEST(FaceQuality, SharpWellLitFacesScoreAboveBlurredOrDarkOnes)
{
    const QString source = faceSource("Tom_Cruise_avp_2014_4.jpg");
    if (source.isEmpty())
        GTEST_SKIP() << "face photographs not installed";
    const QImage sharp = downsampledImage(source);
    const QList<DetectedFace> faces = FaceDetector::detect(sharp, 0.5f);
    ASSERT_FALSE(faces.isEmpty());
    const QSize size = sharp.size();
    const QImage blurred = sharp.scaled(size / 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                               .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage dark = sharp.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < dark.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(dark.scanLine(y));
        for (int x = 0; x < dark.width(); ++x)
            line[x] = qRgb(qRed(line[x]) / 6, qGreen(line[x]) / 6, qBlue(line[x]) / 6);
    }
    const float sharpScore = FaceQuality::score(sharp, faces.first());
    EXPECT_GT(sharpScore, FaceQuality::score(blurred, faces.first()));
    EXPECT_GT(sharpScore, FaceQuality::score(dark, faces.first()));
    EXPECT_GE(sharpScore, 0.f);
    EXPECT_LE(sharpScore, 1.f);
    EXPECT_EQ(FaceQuality::ofFile(source).size(), faces.size());
    EXPECT_TRUE(FaceQuality::ofFile(QStringLiteral("/nonexistent/photo.jpg")).isEmpty());
}
