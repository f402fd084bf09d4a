// Converts one photo as a send does, turned by ROTATION degrees, in a process
// of its own, and prints the most memory its conversion added to the process
// in bytes: the peak (VmHWM) counted from what the process held before the
// conversion began.
//
//   conversion_peak PHOTO ROTATION OUTPUT
#include "bench/ProcessStatus.h"
#include "services/ConvertService.h"
#include "support/AsyncTest.h"

#include <QCoreApplication>
#include <QUrl>

#include <exiv2/exiv2.hpp>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Exiv2::XmpParser::initialize();
    const QStringList arguments = app.arguments();
    if (arguments.size() != 4)
        return 2;
    const qint64 before = pomelark::bench::statusKiB("VmRSS:");
    pomelark::bench::resetPeak();
    try {
        pomelark::ConvertService service;
        pomelark::test::awaitTask(service.convertPhoto(QUrl::fromLocalFile(arguments[1]),
                                                       QUrl::fromLocalFile(arguments[3]), false, std::nullopt,
                                                       arguments[2].toInt()),
                                  std::chrono::minutes(5));
    } catch (const pomelark::ConvertError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    const qint64 peak = pomelark::bench::statusKiB("VmHWM:");
    if (before < 0 || peak < 0)
        return 1;
    std::printf("%lld\n", (peak - before) * 1024);
    return 0;
}
