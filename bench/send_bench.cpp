// The whole send at the machine's speed: our send (the export coordinator with
// the real conversion and a Photos folder of its own) against libheif's heif-enc
// over the same photos, at the same libheif quality and x265 settings, one file
// at a time and eight at once.
//
//   send_bench photos DIR [count=100]
//       makes camera-like 12-MP JPEGs (textured, with a camera's EXIF) in DIR
//   send_bench measure DIR CONTENDER SETTING [count]
//       one timed run over the first `count` photos; prints "figure" lines:
//       wall time, photos/s, mean and 10th-percentile cores busy (sampled every
//       100 ms over the CPUs this process may use) and the CPU time of the
//       process and its children over wall time, which also counts threads
//       that ran outside those CPUs.
//       CONTENDER: ours | peer1 | peer8; SETTING: quality | size
//   send_bench likeness DIR SETTING [count] [ours]
//       mean size and SSIM against the source, ours and (unless "ours") heif-enc's
//   send_bench rounds DIR SETTING ROUNDS COUNT CONTENDER…
//       ROUNDS rounds of `measure` for each contender, taking turns, then the
//       medians and each contender's throughput against peer8's. A contender
//       is ours, peer1, peer8 or before=PROGRAM (another build of this driver,
//       such as one of main's, measuring its own send).
//
// For a 2-core figure run the driver under `taskset -c 0,1`. Our send keeps
// x265 inside the set by itself; heif-enc cannot, so it runs with the preload
// bench/support/keep_affinity.cpp, built next to this driver.
#include "services/ConvertService.h"
#include "services/ExportCoordinator.h"
#include "services/PhotosService.h"

#include "BenchRounds.h"
#include "HeifEncPeer.h"
#include "ImageSimilarity.h"

#include "support/AsyncTest.h"
#include "support/CameraLikePhotos.h"
#include "support/HeifDecode.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QtConcurrent/QtConcurrentMap>

#include <exiv2/exiv2.hpp>

#include <sched.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

using namespace pomelark;
using namespace pomelark::test;

namespace {

QStringList photosIn(const QString &dir, int count)
{
    QStringList names = QDir(dir).entryList({QStringLiteral("IMG_*.JPG")}, QDir::Files, QDir::Name);
    if (count > 0 && names.size() > count)
        names = names.mid(0, count);
    for (QString &name : names)
        name = QDir(dir).filePath(name);
    return names;
}

int makePhotos(const QString &dir, int count)
{
    QDir().mkpath(dir);
    const QList<QImage> sources = samplePhotographs();
    QList<int> seeds;
    for (int i = 1; i <= count; ++i)
        seeds << i;
    QtConcurrent::blockingMap(seeds, [&](int seed) {
        const QString path = QDir(dir).filePath(QStringLiteral("IMG_%1.JPG").arg(seed, 4, 10, QLatin1Char('0')));
        cameraLikePicture(sources, quint32(seed)).save(path, "JPG", 92);
        auto image = Exiv2::ImageFactory::open(path.toStdString());
        image->readMetadata();
        Exiv2::ExifData exif;
        exif["Exif.Image.Make"] = "Bench";
        exif["Exif.Image.Model"] = "Camera 12";
        exif["Exif.Image.Orientation"] = uint16_t(1);
        exif["Exif.Photo.DateTimeOriginal"] =
            QStringLiteral("2024:05:01 10:%1:%2").arg(seed / 60, 2, 10, QLatin1Char('0')).arg(seed % 60, 2, 10, QLatin1Char('0')).toStdString();
        exif["Exif.Photo.ExposureTime"] = Exiv2::Rational(1, 125);
        exif["Exif.Photo.FNumber"] = Exiv2::Rational(28, 10);
        image->setExifData(exif);
        image->writeMetadata();
    });
    std::printf("%d photos in %s\n", count, qPrintable(dir));
    return 0;
}

/// Busy cores over the CPUs this process may run on, from /proc/stat, sampled
/// every 100 ms on a thread of its own.
class CoreSampler {
public:
    CoreSampler()
    {
        cpu_set_t set;
        CPU_ZERO(&set);
        sched_getaffinity(0, sizeof(set), &set);
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
            if (CPU_ISSET(cpu, &set))
                m_cpus.push_back(cpu);
        m_thread = std::thread([this] {
            std::vector<Times> last = read();
            while (!m_stop) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                const std::vector<Times> now = read();
                double busy = 0;
                for (size_t i = 0; i < now.size() && i < last.size(); ++i) {
                    const double total = double(now[i].total - last[i].total);
                    if (total > 0)
                        busy += 1.0 - double(now[i].idle - last[i].idle) / total;
                }
                m_samples.append(busy);
                last = now;
            }
        });
    }
    QList<double> stop()
    {
        m_stop = true;
        m_thread.join();
        return m_samples;
    }
    int cores() const { return int(m_cpus.size()); }

private:
    struct Times {
        unsigned long long idle = 0;
        unsigned long long total = 0;
    };
    std::vector<Times> read() const
    {
        std::vector<Times> times(m_cpus.size());
        std::ifstream stat("/proc/stat");
        std::string line;
        while (std::getline(stat, line)) {
            if (line.rfind("cpu", 0) != 0 || line.size() < 4 || !std::isdigit(uchar(line[3])))
                continue;
            std::istringstream words(line.substr(3));
            int cpu = -1;
            words >> cpu;
            const auto at = std::find(m_cpus.begin(), m_cpus.end(), cpu);
            if (at == m_cpus.end())
                continue;
            unsigned long long value = 0;
            Times &t = times[size_t(at - m_cpus.begin())];
            for (int field = 0; field < 8 && (words >> value); ++field) {
                t.total += value;
                if (field == 3 || field == 4)
                    t.idle += value;
            }
        }
        return times;
    }

    std::vector<int> m_cpus;
    std::atomic<bool> m_stop{false};
    QList<double> m_samples;
    std::thread m_thread;
};

double cpuSeconds()
{
    double seconds = 0;
    for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        seconds += double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
                   + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    return seconds;
}

bool highQuality(const QString &setting)
{
    return setting == QStringLiteral("quality");
}

int libheifQuality(const QString &setting)
{
    return highQuality(setting) ? ConvertService::highQualityLevel : ConvertService::sizeQualityLevel;
}

/// Our send of `photos` into a Photos folder below `out`; false when an item failed.
bool sendOurs(const QStringList &photos, const QString &setting, const QString &out)
{
    ConvertService converter;
    PhotosService library(PhotoLibrary(QDir(out).filePath(QStringLiteral("Photos"))));
    ExportCoordinator coordinator(converter, library, QDir(out).filePath(QStringLiteral("staging")));
    MediaItems items;
    for (const QString &photo : photos)
        items.append({QUuid::createUuid(), QUrl::fromLocalFile(photo), MediaItem::Kind::photo});
    const ExportSettings settings{.dateMode = DateMode::keep,
                                  .quality = highQuality(setting) ? QualityMode::quality : QualityMode::size,
                                  .autoCleanup = true};
    awaitTask(coordinator.exportItems(items, settings, {}, [] { return false; }), std::chrono::hours(3));
    for (const auto &failure : coordinator.phase().failed)
        std::fprintf(stderr, "%s: %s\n", qPrintable(failure.item.url.fileName()), qPrintable(failure.reason));
    return coordinator.phase().successPhotos == photos.size();
}

/// heif-enc over `photos`, `parallel` at once, into `out`; false when one failed.
bool sendPeer(const QStringList &photos, const QString &setting, int parallel, const QString &out)
{
    QDir().mkpath(out);
    QProcess xargs;
    xargs.setProcessChannelMode(QProcess::ForwardedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_PRELOAD"),
                       QCoreApplication::applicationDirPath() + QStringLiteral("/libkeep_affinity.so"));
    xargs.setProcessEnvironment(environment);
    const QString command = QStringLiteral("heif-enc ") + bench::heifEncSettings(libheifQuality(setting)).join(' ')
                            + QStringLiteral(" -o \"$0/$(basename \"$1\" .JPG).heic\" \"$1\"");
    xargs.start(QStringLiteral("xargs"), {QStringLiteral("-0"), QStringLiteral("-P"), QString::number(parallel),
                                          QStringLiteral("-n"), QStringLiteral("1"), QStringLiteral("sh"),
                                          QStringLiteral("-c"), command, out});
    xargs.waitForStarted(-1);
    for (const QString &photo : photos) {
        xargs.write(QFile::encodeName(photo));
        xargs.write("", 1);
    }
    xargs.closeWriteChannel();
    xargs.waitForFinished(-1);
    return xargs.exitStatus() == QProcess::NormalExit && xargs.exitCode() == 0;
}

int measure(const QString &dir, const QString &contender, const QString &setting, int count)
{
    const QStringList photos = photosIn(dir, count);
    if (photos.isEmpty()) {
        std::fprintf(stderr, "no photos in %s (make them with: send_bench photos DIR)\n", qPrintable(dir));
        return 1;
    }
    TempFolder out;
    CoreSampler sampler;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    bool done = false;
    if (contender == QStringLiteral("ours"))
        done = sendOurs(photos, setting, out.path());
    else if (contender == QStringLiteral("peer1") || contender == QStringLiteral("peer8"))
        done = sendPeer(photos, setting, contender == QStringLiteral("peer1") ? 1 : 8, out.path());
    const double wall = double(timer.nsecsElapsed()) / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    QList<double> samples = sampler.stop();
    if (!done) {
        std::fprintf(stderr, "%s did not send every photo\n", qPrintable(contender));
        return 1;
    }
    std::sort(samples.begin(), samples.end());
    double mean = 0;
    for (double sample : samples)
        mean += sample;
    mean /= std::max<qsizetype>(1, samples.size());
    std::printf("%s %s: %lld photos on %d cores\n", qPrintable(contender), qPrintable(setting),
                qint64(photos.size()), sampler.cores());
    bench::printFigure(QStringLiteral("wall_s"), wall);
    bench::printFigure(QStringLiteral("photos_per_s"), double(photos.size()) / wall);
    bench::printFigure(QStringLiteral("cores_mean"), mean);
    bench::printFigure(QStringLiteral("cores_p10"), samples.isEmpty() ? 0 : samples.at(samples.size() / 10));
    bench::printFigure(QStringLiteral("cpu_per_wall"), cpu / wall);
    if (cpu / wall > sampler.cores() * 1.05)
        std::fprintf(stderr, "%s used more CPU time than its %d cores give: threads ran outside its CPU set\n",
                     qPrintable(contender), sampler.cores());
    return 0;
}

int likeness(const QString &dir, const QString &setting, int count, bool withPeer)
{
    const QStringList photos = photosIn(dir, count);
    TempFolder out;
    if (!sendOurs(photos, setting, out.filePath(QStringLiteral("ours")))
        || (withPeer && !sendPeer(photos, setting, 8, out.filePath(QStringLiteral("peer")))))
        return 1;
    QHash<QString, QString> ours;
    QDirIterator sent(out.filePath(QStringLiteral("ours/Photos")), {QStringLiteral("*.heic")}, QDir::Files,
                      QDirIterator::Subdirectories);
    while (sent.hasNext()) {
        const QString path = sent.next();
        ours.insert(QFileInfo(path).completeBaseName(), path);
    }
    for (const bool peer : {false, true}) {
        if (peer && !withPeer)
            break;
        QList<double> sizes(photos.size()), similarity(photos.size());
        QList<int> indexes;
        for (int i = 0; i < photos.size(); ++i)
            indexes << i;
        QtConcurrent::blockingMap(indexes, [&](int i) {
            const QString name = QFileInfo(photos.at(i)).completeBaseName();
            const QString path = peer ? out.filePath(QStringLiteral("peer/") + name + QStringLiteral(".heic"))
                                      : ours.value(name);
            sizes[i] = double(QFileInfo(path).size()) / 1024;
            const auto decoded = decodeHeic(path);
            similarity[i] = decoded ? bench::ssim(QImage(photos.at(i)), decoded->shown) : 0;
        });
        double size = 0, ssim = 0;
        for (int i = 0; i < photos.size(); ++i)
            size += sizes[i], ssim += similarity[i];
        const QString who = peer ? QStringLiteral("peer") : QStringLiteral("ours");
        bench::printFigure(who + QStringLiteral("_kb"), size / double(photos.size()));
        bench::printFigure(who + QStringLiteral("_ssim"), ssim / double(photos.size()));
    }
    return 0;
}

int rounds(const QStringList &arguments)
{
    const QString dir = arguments.value(2), setting = arguments.value(3);
    const int roundCount = arguments.value(4).toInt();
    const QString count = arguments.value(5);
    const QStringList contenders = arguments.mid(6);
    QMap<QString, bench::Figures> figures;
    for (int round = 0; round < roundCount; ++round) {
        for (qsizetype turn = 0; turn < contenders.size(); ++turn) {
            const QString contender = contenders.at((turn + round) % contenders.size());
            QString program = QCoreApplication::applicationFilePath();
            QString measured = contender;
            if (contender.startsWith(QStringLiteral("before="))) {
                program = contender.mid(7);
                measured = QStringLiteral("ours");
            }
            std::printf("round %d %-10s load %s\n", round + 1, qPrintable(contender.section(QLatin1Char('/'), -1)),
                        qPrintable(bench::loadAverage()));
            std::fflush(stdout);
            if (!bench::runMeasure(program, {QStringLiteral("measure"), dir, measured, setting, count},
                                   figures[contender]))
                return 1;
        }
    }
    std::printf("load at the end %s\n\nmedians of %d rounds, %s, %s photos\n", qPrintable(bench::loadAverage()),
                roundCount, qPrintable(setting), qPrintable(count));
    const double peer = bench::median(figures.value(QStringLiteral("peer8")).value(QStringLiteral("photos_per_s")));
    for (const QString &contender : contenders) {
        const bench::Figures &f = figures[contender];
        const double rate = bench::median(f.value(QStringLiteral("photos_per_s")));
        std::printf("%-12s wall %7.1f s  %5.3f photos/s  cores mean %4.2f p10 %4.2f  cpu/wall %4.2f", 
                    qPrintable(contender.section(QLatin1Char('/'), -1)), bench::median(f.value(QStringLiteral("wall_s"))),
                    rate, bench::median(f.value(QStringLiteral("cores_mean"))),
                    bench::median(f.value(QStringLiteral("cores_p10"))),
                    bench::median(f.value(QStringLiteral("cpu_per_wall"))));
        if (peer > 0)
            std::printf("  %.2fx peer8", rate / peer);
        std::printf("   (walls");
        for (double wall : f.value(QStringLiteral("wall_s")))
            std::printf(" %.1f", wall);
        std::printf(")\n");
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Exiv2::XmpParser::initialize();
    const QStringList arguments = app.arguments();
    const QString mode = arguments.value(1);
    int status = 2;
    if (mode == QStringLiteral("photos"))
        status = makePhotos(arguments.value(2), arguments.value(3, QStringLiteral("100")).toInt());
    else if (mode == QStringLiteral("measure"))
        status = measure(arguments.value(2), arguments.value(3), arguments.value(4), arguments.value(5).toInt());
    else if (mode == QStringLiteral("likeness"))
        status = likeness(arguments.value(2), arguments.value(3), arguments.value(4).toInt(),
                          arguments.value(5) != QStringLiteral("ours"));
    else if (mode == QStringLiteral("rounds"))
        status = rounds(arguments);
    else
        std::fprintf(stderr, "usage: see the opening comment of bench/send_bench.cpp\n");
    Exiv2::XmpParser::terminate();
    return status;
}
