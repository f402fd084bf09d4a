// Photo conversion against libheif's own heif-enc at the same libheif quality.
//
//   heic_bench [photos=30]    (POMELARK_BENCH_DIR=folder keeps the files)
//
// Makes 12-MP camera-like JPEGs (a mosaic of real photographs with a little
// sensor noise), then, for each quality setting, converts every photo with
// convertPhoto and with `heif-enc -q Q` at our encoder settings, taking turns,
// and reports the mean time per photo, the mean output size and the mean SSIM
// against the source.
#include "services/ConvertService.h"

#include "HeifEncPeer.h"
#include "ImageSimilarity.h"

#include "support/AsyncTest.h"
#include "support/CameraLikePhotos.h"
#include "support/Fixtures.h"
#include "support/HeifDecode.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <exiv2/exiv2.hpp>

#include <cstdio>

using namespace pomelark;
using namespace pomelark::test;
using pomelark::bench::ssim;

namespace {

struct Tally {
    double seconds = 0;
    double bytes = 0;
    double ssim = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Exiv2::XmpParser::initialize();
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 30;

    TempFolder scratch;
    // POMELARK_BENCH_DIR keeps the photos and outputs for a closer look.
    const QString kept = qEnvironmentVariable("POMELARK_BENCH_DIR");
    const QDir folder(kept.isEmpty() ? scratch.path() : kept);
    QDir().mkpath(folder.path());
    const QList<QImage> sources = samplePhotographs();
    QStringList photos;
    for (int i = 0; i < count; ++i) {
        const QString path = folder.filePath(QStringLiteral("IMG_%1.JPG").arg(i, 4, 10, QLatin1Char('0')));
        cameraLikePicture(sources, quint32(i + 1)).save(path, "JPG", 92);
        photos << path;
    }
    std::printf("%d photos of %dx%d, %d cores, libheif quality high=%d size=%d\n", count, cameraPhotoSize.width(),
                cameraPhotoSize.height(), QThread::idealThreadCount(), ConvertService::highQualityLevel,
                ConvertService::sizeQualityLevel);
    std::fflush(stdout);

    ConvertService service;
    double sourceBytes = 0;
    for (const QString &photo : photos)
        sourceBytes += double(QFileInfo(photo).size());

    for (const bool high : {true, false}) {
        const int quality = high ? ConvertService::highQualityLevel : ConvertService::sizeQualityLevel;
        Tally ours, peer;
        for (int i = 0; i < photos.size(); ++i) {
            const QString &photo = photos.at(i);
            const QString oursPath = folder.filePath(QStringLiteral("ours.heic"));
            const QString peerPath = folder.filePath(QStringLiteral("peer.heic"));
            auto runOurs = [&] {
                QElapsedTimer timer;
                timer.start();
                awaitTask(service.convertPhoto(QUrl::fromLocalFile(photo), QUrl::fromLocalFile(oursPath), high,
                                               std::nullopt, 0));
                ours.seconds += double(timer.nsecsElapsed()) / 1e9;
            };
            auto runPeer = [&] {
                QElapsedTimer timer;
                timer.start();
                QProcess encoder;
                encoder.start(QStringLiteral("heif-enc"),
                              bench::heifEncSettings(quality) + QStringList{QStringLiteral("-o"), peerPath, photo});
                encoder.waitForFinished(-1);
                peer.seconds += double(timer.nsecsElapsed()) / 1e9;
                if (encoder.exitCode() != 0)
                    std::fprintf(stderr, "heif-enc failed: %s\n", encoder.readAllStandardError().constData());
            };
            // Taking turns spreads any background load over both.
            if (i % 2 == 0) {
                runOurs();
                runPeer();
            } else {
                runPeer();
                runOurs();
            }
            const QImage source(photo);
            ours.bytes += double(QFileInfo(oursPath).size());
            peer.bytes += double(QFileInfo(peerPath).size());
            ours.ssim += ssim(source, decodeHeic(oursPath)->shown);
            peer.ssim += ssim(source, decodeHeic(peerPath)->shown);
        }
        const double n = photos.size();
        std::printf("\n%s (q=%d)\n", high ? "quality" : "size", quality);
        std::printf("  convertPhoto: %6.2f s/photo  %7.0f KB  SSIM %.4f\n", ours.seconds / n, ours.bytes / n / 1024,
                    ours.ssim / n);
        std::printf("  heif-enc:     %6.2f s/photo  %7.0f KB  SSIM %.4f\n", peer.seconds / n, peer.bytes / n / 1024,
                    peer.ssim / n);
        std::printf("  ratios: time %.2fx  size %.2fx  SSIM %+.4f  (source JPEGs %.0f KB)\n", ours.seconds / peer.seconds,
                    ours.bytes / peer.bytes, (ours.ssim - peer.ssim) / n, sourceBytes / n / 1024);
        std::fflush(stdout);
    }
    Exiv2::XmpParser::terminate();
    return 0;
}
