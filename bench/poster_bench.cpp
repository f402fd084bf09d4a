// Times the poster and length preparation of 100 short videos (window of 4)
// against ffmpegthumbnailer -t 0 -s 0 on the same files, four at a time. The
// frame grab's arguments are fixed, so the peer's time is a reference only.
//
//   poster_bench [rounds]     (default 3; the best round of each is reported)
#include "services/ThumbnailService.h"
#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QUuid>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

using namespace pomelark;

namespace {

constexpr int videoCount = 100;
constexpr int parallelism = 4;

MediaItems makeVideos(const test::TempFolder &folder)
{
    const test::VideoRecipe recipes[] = {
        {test::VideoFormat::movH264, true, 3.0, {1280, 720}},
        {test::VideoFormat::mp4Hevc, true, 3.0, {1280, 720}},
        {test::VideoFormat::aviMjpeg, true, 3.0, {1280, 720}},
        {test::VideoFormat::movH264, false, 3.0, {1920, 1080}},
    };
    const char *extensions[] = {"mov", "mp4", "avi", "mov"};
    MediaItems items;
    for (int i = 0; i < videoCount; ++i) {
        const QString path = folder.filePath(QStringLiteral("card/clip%1.%2").arg(i, 3, 10, QLatin1Char('0')).arg(QLatin1String(extensions[i % 4])));
        items.append({QUuid::createUuid(), QUrl::fromLocalFile(test::makeVideo(path, recipes[i % 4])), MediaItem::Kind::video});
    }
    return items;
}

double timePrewarm(const MediaItems &items, const QString &cacheDir)
{
    QDir(cacheDir).removeRecursively();
    ThumbnailService service(cacheDir);
    QElapsedTimer timer;
    timer.start();
    test::awaitTask(service.prewarm(items, [](int, int) {}), std::chrono::minutes(10));
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (QDir(cacheDir).entryList(QDir::Files).size() != 2 * items.size())
        std::printf("warning: not every video got both cache files\n");
    return seconds;
}

double timePeer(const MediaItems &items, const QString &outDir)
{
    QDir(outDir).removeRecursively();
    QDir().mkpath(outDir);
    std::atomic<int> next{0};
    std::atomic<int> failures{0};
    QElapsedTimer timer;
    timer.start();
    std::vector<std::thread> lanes;
    for (int lane = 0; lane < parallelism; ++lane) {
        lanes.emplace_back([&] {
            for (int i = next++; i < int(items.size()); i = next++) {
                QProcess process;
                process.start(QStringLiteral("ffmpegthumbnailer"),
                              {QStringLiteral("-t"), QStringLiteral("0"), QStringLiteral("-s"), QStringLiteral("0"),
                               QStringLiteral("-i"), items[i].url.toLocalFile(), QStringLiteral("-o"),
                               outDir + QStringLiteral("/%1.jpg").arg(i)});
                if (!process.waitForFinished(-1) || process.exitCode() != 0)
                    ++failures;
            }
        });
    }
    for (std::thread &lane : lanes)
        lane.join();
    if (failures > 0)
        std::printf("warning: ffmpegthumbnailer failed on %d files\n", failures.load());
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    test::TempFolder folder;
    std::printf("machine: %d cores; %d videos (3 s, 720p H.264 MOV / HEVC MP4 / MJPEG AVI, 1080p H.264 MOV), %d at a time\n",
                QThread::idealThreadCount(), videoCount, parallelism);
    std::fflush(stdout);
    const MediaItems items = makeVideos(folder);

    double ours = 1e9;
    double peer = 1e9;
    for (int round = 0; round < rounds; ++round) {
        ours = std::min(ours, timePrewarm(items, folder.filePath(QStringLiteral("cache"))));
        peer = std::min(peer, timePeer(items, folder.filePath(QStringLiteral("peer"))));
    }
    std::printf("posters and lengths (prewarm): %.2f s  (%.1f ms per video)\n", ours, ours * 1000 / videoCount);
    std::printf("ffmpegthumbnailer -t 0 -s 0:    %.2f s  (%.1f ms per video)\n", peer, peer * 1000 / videoCount);
    std::printf("ratio ours / peer: %.2f\n", ours / peer);
    return 0;
}
