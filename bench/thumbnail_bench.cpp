// Photo thumbnails at 256 pixels through loadThumbnailImage, one thread, against
// one `vipsthumbnail -s 256` call over the same files with VIPS_CONCURRENCY=1.
// The photos are camera-like 12-MP JPEGs: flat pictures decode far faster than
// a real photo's detail and noise, and not equally so for both.
//
//   thumbnail_bench [photos=100]
#include "services/ThumbnailMemoryCache.h"

#include "support/CameraLikePhotos.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <exiv2/exiv2.hpp>

#include <cstdio>
#include <sys/resource.h>

using namespace pomelark;
using namespace pomelark::test;

namespace {

long peakMemoryKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

/// The timed pass, run in a child process of its own so its peak memory is the
/// thumbnails' alone, not the fixture making's.
int thumbnailPass(const QStringList &photos)
{
    QElapsedTimer timer;
    timer.start();
    int made = 0;
    for (const QString &path : photos)
        made += loadThumbnailImage(QUrl::fromLocalFile(path), 256).has_value();
    std::printf("%d %.3f %ld\n", made, timer.nsecsElapsed() / 1e6, peakMemoryKiB());
    return 0;
}

int main(int argc, char **argv)
{
    Exiv2::XmpParser::initialize();
    QCoreApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "--pass")
        return thumbnailPass(QCoreApplication::arguments().mid(2));
    const int count = argc > 1 ? std::atoi(argv[1]) : 100;

    TempFolder folder;
    std::printf("Making %d 12-MP photos …\n", count);
    // A few distinct pictures, copied under many names; every other one stands on its side.
    const QList<QImage> sources = samplePhotographs();
    QStringList seeds;
    for (int i = 0; i < 4; ++i) {
        const QString path = folder.filePath(QStringLiteral("seed%1.jpg").arg(i));
        cameraLikePicture(sources, quint32(i + 1)).save(path, "JPG", 92);
        auto image = Exiv2::ImageFactory::open(path.toStdString());
        image->readMetadata();
        image->exifData()["Exif.Image.Orientation"] = uint16_t(i % 2 ? 6 : 1);
        image->writeMetadata();
        seeds << path;
    }
    QStringList photos;
    for (int i = 0; i < count; ++i) {
        const QString path = folder.filePath(QStringLiteral("photos/IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile::copy(seeds[i % seeds.size()], path);
        photos << path;
    }
    // Warm the page cache for both contenders.
    for (const QString &path : photos) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        file.readAll();
    }

    QProcess pass;
    pass.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--pass")} + photos);
    pass.waitForFinished(-1);
    const QList<QByteArray> figures = pass.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() != 3) {
        std::fprintf(stderr, "the thumbnail pass failed\n");
        return 1;
    }
    const int made = figures[0].toInt();
    const double oursMs = figures[1].toDouble();
    const long peakKiB = figures[2].toLong();

    QElapsedTimer timer;

    const QString outDir = folder.makeFolder(QStringLiteral("vips"));
    QProcess vips;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VIPS_CONCURRENCY"), QStringLiteral("1"));
    vips.setProcessEnvironment(environment);
    QStringList arguments{QStringLiteral("-s"), QStringLiteral("256"), QStringLiteral("-o"),
                          outDir + QStringLiteral("/%s.jpg")};
    arguments += photos;
    timer.start();
    vips.start(QStringLiteral("vipsthumbnail"), arguments);
    vips.waitForFinished(-1);
    const double vipsMs = timer.nsecsElapsed() / 1e6;
    if (vips.exitCode() != 0)
        std::fprintf(stderr, "vipsthumbnail failed: %s\n", vips.readAllStandardError().constData());

    std::printf("\nphotos: %d (camera-like %dx%d JPEG), thumbnails made: %d\n", count, cameraPhotoSize.width(),
                cameraPhotoSize.height(), made);
    std::printf("ours (loadThumbnailImage, one thread): %.2f ms/photo\n", oursMs / count);
    std::printf("vipsthumbnail -s 256, VIPS_CONCURRENCY=1: %.2f ms/photo (one process for all files)\n",
                vipsMs / count);
    std::printf("ours / vips time: %.2f\n", oursMs / vipsMs);
    std::printf("peak memory of our thumbnail pass (whole process): %.1f MiB\n", peakKiB / 1024.0);
    Exiv2::XmpParser::terminate();
    return 0;
}
