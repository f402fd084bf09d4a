// Figures for the photo analyses on Debian's example photographs, measured on one
// thread: milliseconds per photo for each analysis, the sideways-photo outcomes on
// face photos turned by a quarter, half and three-quarter turn, and distances of
// the natural series left out of the labelled set.
#include "platform/FaceDetector.h"
#include "platform/DownsampledImage.h"
#include "services/OrientationService.h"
#include "services/PhotoAnalyses.h"

#include "support/CalibrationSet.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <exiv2/exiv2.hpp>

#include <cstdio>

using namespace pomelark;
using namespace pomelark::test;

namespace {

template <typename Work>
double millisecondsEach(const QStringList &paths, Work work)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString &path : paths)
        work(path);
    return double(timer.nsecsElapsed()) / 1e6 / double(std::max<qsizetype>(1, paths.size()));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Exiv2::XmpParser::initialize();
    TempFolder folder;
    const auto analyses = platformPhotoAnalyses();
    OrientationService orientation(analyses);

    // Sideways photos.
    const QStringList faces = faceSources();
    int turnedFound = 0, turnedRight = 0, turnedWrong = 0, uprightTurned = 0, uprightCount = 0;
    for (const QString &source : faces) {
        const QString upright = makeTurnedJpeg(source, folder.filePath(QFileInfo(source).baseName() + "_0.jpg"), 0);
        ++uprightCount;
        const bool foundUpright = !FaceDetector::detect(downsampledImage(upright), 0.5f).isEmpty();
        if (orientation.suggestedRotation(QUrl::fromLocalFile(upright)))
            ++uprightTurned;
        for (int turn : {90, 180, 270}) {
            const QString path = makeTurnedJpeg(
                source, folder.filePath(QStringLiteral("%1_%2.jpg").arg(QFileInfo(source).baseName()).arg(turn)), turn);
            const std::optional<int> suggestion = orientation.suggestedRotation(QUrl::fromLocalFile(path));
            if (!foundUpright)
                continue;
            ++turnedFound;
            if (suggestion == 360 - turn)
                ++turnedRight;
            else if (suggestion)
                ++turnedWrong;
        }
        std::printf("  %-28s face found upright: %s\n", qPrintable(QFileInfo(source).fileName()),
                    foundUpright ? "yes" : "no");
    }
    int facelessCount = 0, facelessTurned = 0;
    QStringList faceless = calibrationSources();
    for (const QString &face : faces)
        faceless.removeAll(face);
    QStringList sidewaysPaths;
    for (const QString &source : faceless)
        for (int turn : {0, 90, 180, 270}) {
            const QString path = makeTurnedJpeg(
                source, folder.filePath(QStringLiteral("nf_%1_%2.jpg").arg(QFileInfo(source).baseName()).arg(turn)), turn);
            sidewaysPaths.append(path);
            ++facelessCount;
            if (orientation.suggestedRotation(QUrl::fromLocalFile(path)))
                ++facelessTurned;
        }
    std::printf("turned face photos whose face is found upright: %d; right turn %d (%.1f%%), wrong turn %d\n",
                turnedFound, turnedRight, 100.0 * turnedRight / std::max(1, turnedFound), turnedWrong);
    std::printf("upright face photos given a turn: %d of %d\n", uprightTurned, uprightCount);
    std::printf("photos without a person's face (all four turns) given a turn: %d of %d\n", facelessTurned,
                facelessCount);

    // Milliseconds per photo, one thread, on the set's base photographs.
    QStringList bases;
    for (const CalibrationPhoto &photo : makeCalibrationSet(folder.filePath("set"), {QStringLiteral("base")}))
        bases.append(photo.path);
    const double decode = millisecondsEach(bases, [](const QString &p) { downsampledImage(p); });
    const double print = millisecondsEach(bases, [&](const QString &p) { analyses->featurePrint(p); });
    const double sideways = millisecondsEach(bases, [&](const QString &p) {
        orientation.suggestedRotation(QUrl::fromLocalFile(p));
    });
    const double quality = millisecondsEach(bases, [&](const QString &p) { analyses->faceQualities(p); });
    std::printf("ms per photo on one thread over %lld photos: downsampling %.1f, feature print %.1f, "
                "sideways analysis %.1f, face qualities %.1f (each including its downsampling)\n",
                (long long)bases.size(), decode, print, sideways, quality);

    // Natural series, labelled on purpose and kept out of the set.
    const QString data = QStringLiteral("/usr/share/doc/opencv-doc/examples/data/");
    const auto distance = [&](const QString &a, const QString &b) {
        const auto pa = analyses->featurePrint(data + a), pb = analyses->featurePrint(data + b);
        return pa && pb ? analyses->distance(*pa, *pb).value_or(-1.f) : -1.f;
    };
    std::printf("natural series: aloeL/aloeR (one moment, two viewpoints) %.3f; leuvenA/leuvenB (one place, "
                "another exposure and view) %.3f\n",
                distance("aloeL.jpg", "aloeR.jpg"), distance("leuvenA.jpg", "leuvenB.jpg"));
    int closePairs = 0, pairs = 0;
    QStringList boards;
    for (int i = 1; i <= 14; ++i)
        if (QFileInfo::exists(data + QStringLiteral("left%1.jpg").arg(i, 2, 10, QLatin1Char('0'))))
            boards.append(QStringLiteral("left%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
    for (int i = 0; i < boards.size(); ++i)
        for (int j = i + 1; j < boards.size(); ++j) {
            ++pairs;
            closePairs += distance(boards[i], boards[j]) < 0.4f ? 1 : 0;
        }
    std::printf("chessboard series left01-14 (different shots of one board): %d of %d pairs under 0.4\n",
                closePairs, pairs);
    return 0;
}
