// Peak memory and time of every path that decodes a photo, on files whose
// headers claim pictures far larger than their data, and on large real ones.
//
//   decode_memory_driver make DIR              the files (once)
//   decode_memory_driver run FILE PATH         one decode in this process:
//                                              "RESULT PEAK_MB SECONDS"
//   decode_memory_driver table DIR [OTHER]     every file through every path,
//       each in a process of its own; with OTHER (this driver built from other
//       code, by scripts/build-bench-at REF decode_memory_driver) side by side
//   decode_memory_driver whole FILE…           the send's whole decode of each
//       file: names those it refuses, and why, then counts
//
// The paths: a grid tile, a poster cover, a poster at full size, the viewer,
// the photo analyses and the send's whole decode.
#include "platform/DownsampledImage.h"
#include "platform/ImageSource.h"
#include "services/ConvertService.h"
#include "services/ThumbnailMemoryCache.h"
#include "ProcessStatus.h"

#include "support/Fixtures.h"
#include "support/LargePictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QUrl>

#include <exiv2/exiv2.hpp>

#include <cstdio>
#include <exception>

using namespace pomelark;
using namespace pomelark::test;
using pomelark::bench::statusKiB;

namespace {

/// The file name of a claim in `make`'s folder.
QString fileName(const char *name, QSize claimed)
{
    return QString::fromLatin1(name).replace(u", "_qs, u"-"_qs).replace(u' ', u'-').remove(u':')
           + u"-%1x%2.jpg"_qs.arg(claimed.width()).arg(claimed.height());
}

const QStringList paths{u"tile"_qs, u"cover"_qs, u"full"_qs, u"viewer"_qs, u"analysis"_qs, u"send"_qs};

int make(const QString &folder)
{
    QDir().mkpath(folder);
    // The last an arithmetic-coded one in one scan, which fits in memory too.
    QList<HeaderClaim> claims = hugeHeaderClaims();
    claims.append({"arithmetic grey", {.colour = JpegColour::grey, .arithmetic = true}, QSize(14856, 65283)});
    for (const HeaderClaim &claim : claims) {
        const QString small = makeJpeg(folder + u"/small.jpg"_qs, claim.recipe);
        QFile file(folder + QLatin1Char('/') + fileName(claim.name, claim.claimed));
        if (!file.open(QIODevice::WriteOnly) || file.write(claimingSize(contentOf(small), claim.claimed)) < 0)
            return 1;
        QFile::remove(small);
    }
    makeLargeJpeg(folder + u"/panorama-40000x15000.jpg"_qs, QSize(40000, 15000), false);
    makeLargeJpeg(folder + u"/progressive-12240x8160.jpg"_qs, QSize(12240, 8160), true);
    makeLargeJpeg(folder + u"/progressive-18976x12648.jpg"_qs, QSize(18976, 12648), true);
    return 0;
}

QString describe(const QImage &image)
{
    return image.isNull() ? u"refused"_qs : u"%1x%2"_qs.arg(image.width()).arg(image.height());
}

int run(const QString &file, const QString &path)
{
    const QUrl url = QUrl::fromLocalFile(file);
    QElapsedTimer timer;
    timer.start();
    QString result;
    try {
        if (path == u"tile"_qs)
            result = describe(loadThumbnailImage(url, ThumbnailMemoryCache::thumbnailPixelSize).value_or(QImage()));
        else if (path == u"cover"_qs)
            result = describe(ImageSource(file).decodeCovering(256, false));
        else if (path == u"full"_qs)
            result = describe(ImageSource(file).decodeFull(false));
        else if (path == u"viewer"_qs)
            result = describe(ConvertService::loadRotatedImage(url, 3200, 0));
        else if (path == u"analysis"_qs)
            result = describe(downsampledImage(file));
        else
            result = describe(ConvertService::readSourcePhoto(file, 0).pixels);
    } catch (const std::exception &) {
        result = u"refused"_qs;
    }
    std::printf("%s %lld %.1f\n", qPrintable(result), statusKiB("VmHWM:") / 1024, timer.elapsed() / 1000.0);
    return 0;
}

int whole(const QStringList &files)
{
    int refused = 0;
    for (const QString &file : files) {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly))
            continue;
        try {
            if (ImageSource::fromContent(in.readAll()).decodeComplete(false).isNull()) {
                std::printf("refused %s: too large\n", qPrintable(file));
                ++refused;
            }
        } catch (const std::exception &error) {
            std::printf("refused %s: %s\n", qPrintable(file), error.what());
            ++refused;
        }
    }
    std::printf("%d of %lld refused\n", refused, files.size());
    return 0;
}

QString runChild(const QString &driver, const QString &file, const QString &path)
{
    return pomelark::bench::runChild(driver, {u"run"_qs, file, path});
}

int table(const QString &folder, const QString &other)
{
    const QString self = QCoreApplication::applicationFilePath();
    const QStringList files = QDir(folder).entryList({u"*.jpg"_qs}, QDir::Files, QDir::Name);
    for (const QString &name : files) {
        std::printf("%s (%lld bytes)\n", qPrintable(name), QFileInfo(folder + QLatin1Char('/') + name).size());
        for (const QString &path : paths) {
            const QString file = folder + QLatin1Char('/') + name;
            const QString mine = runChild(self, file, path);
            const QString theirs = other.isEmpty() ? QString() : runChild(other, file, path);
            std::printf("  %-9s this: %-28s other: %s\n", qPrintable(path), qPrintable(mine), qPrintable(theirs));
            std::fflush(stdout);
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Exiv2::XmpParser::initialize();
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() >= 2 && arguments[0] == u"make"_qs)
        return make(arguments[1]);
    if (arguments.size() == 3 && arguments[0] == u"run"_qs)
        return run(arguments[1], arguments[2]);
    if (arguments.size() >= 2 && arguments[0] == u"whole"_qs)
        return whole(arguments.mid(1));
    if (arguments.size() >= 2 && arguments[0] == u"table"_qs)
        return table(arguments[1], arguments.value(2));
    std::fprintf(stderr, "usage: decode_memory_driver make DIR | run FILE PATH | table DIR [OTHER] | whole FILE...\n");
    return 2;
}
