// Validation throughput against the I/O floor and a one-ffprobe-per-video peer.
//
//   validation_bench [photos=2000] [videos=200]
//
// Makes a folder of ~1 MP JPEGs and short videos, runs one untimed pass to warm
// the page cache, then reports files per second for each contender.
#include "services/ValidationService.h"

#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <exiv2/exiv2.hpp>

#include <cstdio>

using namespace pomelark;
using namespace pomelark::test;

namespace {

QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

void copyBytes(const QString &from, const QString &to)
{
    QDir().mkpath(QFileInfo(to).absolutePath());
    QFile::copy(from, to);
}

double ioFloor(const QStringList &files)
{
    QElapsedTimer timer;
    timer.start();
    QByteArray buffer(64 * 1024, '\0');
    for (const QString &path : files) {
        if (QFileInfo(path).size() <= 0)
            continue;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            file.read(buffer.data(), buffer.size());
    }
    return timer.nsecsElapsed() / 1e9;
}

double ourValidation(const QString &folder, int expected)
{
    ValidationService service;
    QElapsedTimer timer;
    timer.start();
    const ValidationOutcome outcome = awaitTask(service.validate(QUrl::fromLocalFile(folder), [] { return true; }));
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (outcome.valid.size() != expected)
        std::fprintf(stderr, "unexpected outcome: %lld valid of %d\n", (long long)outcome.valid.size(), expected);
    return seconds;
}

double checksOnly(const QStringList &files, MediaItem::Kind kind)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString &path : files)
        ValidationService::checkFileNow(path, kind);
    return timer.nsecsElapsed() / 1e9;
}

double ffprobePeer(const QStringList &videos)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString &path : videos) {
        QProcess probe;
        probe.start(QStringLiteral("ffprobe"), {QStringLiteral("-v"), QStringLiteral("error"),
                                                QStringLiteral("-show_streams"), path});
        probe.waitForFinished(-1);
    }
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    Exiv2::XmpParser::initialize();
    QCoreApplication app(argc, argv);
    const int photoCount = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int videoCount = argc > 2 ? std::atoi(argv[2]) : 200;

    TempFolder folder;
    std::printf("Making %d photos and %d videos in %s …\n", photoCount, videoCount, qPrintable(folder.path()));
    QStringList seeds;
    for (int i = 0; i < 8; ++i)
        seeds << makeJpeg(folder.filePath(QStringLiteral("seed/%1.jpg").arg(i)),
                          {.size = QSize(1152 + i, 864), .orientation = 1 + i % 8,
                           .dateTimeOriginal = QStringLiteral("2024:01:02 03:04:05")});
    for (int i = 0; i < photoCount; ++i)
        copyBytes(seeds[i % seeds.size()], folder.filePath(QStringLiteral("card/photos/%1/IMG_%2.JPG").arg(i / 500).arg(i, 4, 10, QLatin1Char('0'))));
    const QList<VideoFormat> formats = {VideoFormat::movH264, VideoFormat::mp4Hevc, VideoFormat::aviMjpeg,
                                        VideoFormat::aviMpeg4};
    const QStringList extensions = {QStringLiteral("mov"), QStringLiteral("mp4"), QStringLiteral("avi"),
                                    QStringLiteral("avi")};
    QDir().mkpath(folder.filePath(QStringLiteral("card/videos")));
    for (int i = 0; i < videoCount; ++i) {
        const int f = i % formats.size();
        makeVideo(folder.filePath(QStringLiteral("card/videos/MVI_%1.%2").arg(i, 4, 10, QLatin1Char('0')).arg(extensions[f])),
                  {.format = formats[f], .audio = true, .seconds = 3.0, .size = QSize(640, 360)});
    }
    QDir(folder.filePath(QStringLiteral("seed"))).removeRecursively();

    const QString card = folder.filePath(QStringLiteral("card"));
    const QString videoFolder = folder.filePath(QStringLiteral("card/videos"));
    const QStringList all = filesBelow(card);
    const QStringList videos = filesBelow(videoFolder);
    const int total = int(all.size());

    // Warm the page cache (and every code path) once, untimed.
    ioFloor(all);
    ourValidation(card, total);
    ffprobePeer(videos.mid(0, 4));

    const double floorSeconds = ioFloor(all);
    const double oursSeconds = ourValidation(card, total);
    const double oursVideoSeconds = ourValidation(videoFolder, int(videos.size()));
    const double peerSeconds = ffprobePeer(videos);
    const QStringList photos = filesBelow(folder.filePath(QStringLiteral("card/photos")));
    const double photoCheckSeconds = checksOnly(photos, MediaItem::Kind::photo);
    const double videoCheckSeconds = checksOnly(videos, MediaItem::Kind::video);

    std::printf("\ncores: %d\n", QThread::idealThreadCount());
    std::printf("%-34s %10s %12s\n", "contender", "files", "files/s");
    std::printf("%-34s %10d %12.0f\n", "I/O floor (stat + first 64 KiB)", total, total / floorSeconds);
    std::printf("%-34s %10d %12.0f\n", "our validation, whole card", total, total / oursSeconds);
    std::printf("%-34s %10lld %12.0f\n", "our validation, videos only", (long long)videos.size(), videos.size() / oursVideoSeconds);
    std::printf("%-34s %10lld %12.0f\n", "ffprobe per video", (long long)videos.size(), videos.size() / peerSeconds);
    std::printf("%-34s %10lld %12.0f\n", "(checks alone, photos)", (long long)photos.size(), photos.size() / photoCheckSeconds);
    std::printf("%-34s %10lld %12.0f\n", "(checks alone, videos)", (long long)videos.size(), videos.size() / videoCheckSeconds);
    std::printf("\nours / I/O floor: %.2f   ours / ffprobe on videos: %.1fx\n", floorSeconds / oursSeconds,
                peerSeconds / oursVideoSeconds);
    Exiv2::XmpParser::terminate();
    return 0;
}
