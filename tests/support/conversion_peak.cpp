// Measures in a process of its own the most memory a send adds to it (the peak,
// VmHWM, counted from what the process held before), and prints it in bytes.
//
//   conversion_peak PHOTO ROTATION OUTPUT [one-cpu]
//       one photo converted as a send does, turned by ROTATION degrees, from a
//       process that has converted nothing yet, on the CPU it starts on alone
//       when asked: prints "PEAK ESTIMATE", the estimate that of PhotoCost on
//       those CPUs
//   conversion_peak --send CARD PHOTOS STAGING TINY
//       the photos of the folder CARD sent through the app's converter into
//       the Photos folder PHOTOS, counted from where the process idles once it
//       has converted the photo TINY: prints "PEAK SENT"
#include "bench/ProcessStatus.h"
#include "services/ConvertService.h"
#include "services/ExportCoordinator.h"
#include "services/PhotoCost.h"
#include "services/PhotosService.h"
#include "support/AsyncTest.h"

#include <QCoreApplication>
#include <QDir>
#include <QUrl>

#include <exiv2/exiv2.hpp>

#include <cstdio>

#include <sched.h>

using namespace pomelark;

namespace {

void convert(ConvertService &service, const QString &photo, int rotation, const QString &output)
{
    test::awaitTask(service.convertPhoto(QUrl::fromLocalFile(photo), QUrl::fromLocalFile(output), false,
                                         std::nullopt, rotation),
                    std::chrono::minutes(5));
}

int send(const QStringList &arguments)
{
    ConvertService converter;
    const QString staging = arguments[4];
    convert(converter, arguments[5], 0, QDir(staging).filePath(QStringLiteral("tiny.heic")));
    QFile::remove(QDir(staging).filePath(QStringLiteral("tiny.heic")));
    const qint64 idle = bench::statusKiB("VmRSS:");
    bench::resetPeak();
    MediaItems items;
    for (const QFileInfo &photo : QDir(arguments[2]).entryInfoList({QStringLiteral("*.JPG")}, QDir::Files, QDir::Name))
        items.append({QUuid::createUuid(), QUrl::fromLocalFile(photo.filePath()), MediaItem::Kind::photo});
    PhotosService photos{PhotoLibrary(arguments[3])};
    ExportCoordinator coordinator(converter, photos, staging);
    test::awaitTask(coordinator.exportItems(items, {.quality = QualityMode::size}, {}, [] { return false; }),
                    std::chrono::minutes(5));
    const qint64 peak = bench::statusKiB("VmHWM:");
    if (idle < 0 || peak < 0)
        return 1;
    std::printf("%lld %d\n", (peak - idle) * 1024, coordinator.phase().successPhotos);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Before any thread of its libraries starts.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(::sched_getcpu(), &one);
    if (argc == 5 && ::sched_setaffinity(0, sizeof one, &one) != 0)
        return 1;
    QCoreApplication app(argc, argv);
    Exiv2::XmpParser::initialize();
    const QStringList arguments = app.arguments();
    if (arguments.size() == 6 && arguments[1] == QStringLiteral("--send"))
        return send(arguments);
    if (arguments.size() != 4 && arguments.size() != 5)
        return 2;
    const std::optional<PhotoCost> cost = PhotoCost::ofFile(arguments[1], arguments[2].toInt());
    if (!cost)
        return 1;
    const qint64 before = bench::statusKiB("VmRSS:");
    bench::resetPeak();
    try {
        ConvertService service;
        convert(service, arguments[1], arguments[2].toInt(), arguments[3]);
    } catch (const ConvertError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    const qint64 peak = bench::statusKiB("VmHWM:");
    if (before < 0 || peak < 0)
        return 1;
    std::printf("%lld %lld\n", (peak - before) * 1024, cost->peak(false));
    return 0;
}
