// What a send holds in memory: each photo's estimate beside the peak its
// conversion reaches, and the peak of a whole send under a budget.
//
//   send_memory_bench make DIR
//       the photos: two 12-MP camera-like ones, 100 and 240 MP in colour
//       (progressive) and grey, a 16000 × 16000 progressive 4:4:4 one, a
//       30000 × 17000 panorama in colour and grey, a 40000 × 15000 one, a
//       file of some 600 bytes whose header claims 14856 × 65283 grey pixels
//       that decode to one flat grey (found by trying pictures); narrow ones,
//       whose encode costs most by its rows or columns of coding units: 64 ×
//       65500, 65500 × 64, 9001 × 3, and 64 × 32768, 32768 × 64 and 512 ×
//       32768 at the longest side a send takes; and a 640 × 480 photo under
//       4000 APP2 segments of ICC profile chunks, 262 MB of metadata; a
//       640 × 480 one at JPEG quality 10, whose encoder's fixed part outweighs
//       its picture; and a 640 × 480 one under 300 MB of Extended XMP segments
//   send_memory_bench one FILE ROTATION [high|size [OUT]]
//       one conversion in this process ("size" quality unless high), kept at
//       OUT when given: "RESULT ESTIMATE_MB PEAK_MB SECONDS", the peak counted
//       from before the conversion began
//   send_memory_bench read FILE ROTATION
//       the send's read alone: "RESULT READING_ESTIMATE_MB PEAK_MB"
//   send_memory_bench table DIR [OTHER]
//       every photo of DIR unturned and turned by 90, each in a process of
//       its own, its conversion and its read alone; with OTHER (this driver built from other code, by
//       scripts/build-bench-at REF send_memory_bench) side by side
//   send_memory_bench encode WIDTH HEIGHT KIND QUALITY
//       the encoder alone on a made picture (KIND: grad, noise, greygrad,
//       greynoise): its peak beside HeifWriter::peakBytes()
//   send_memory_bench cards DIR
//       whole cards for the send mode, each a folder of DIR: q10-20, twenty
//       photos of 640 × 480 and 1024 × 768 in turn at JPEG quality 10; q10-100,
//       a hundred such; odd-23, narrow shapes a send takes under 300 MB (64 ×
//       32767, 32767 × 64, 256 × 32767) four times each between eleven 12-MP
//       photos; camera-30, thirty 12-MP photos; xmp, the 640 × 480 photo
//       under 300 MB of Extended XMP segments that make makes
//   send_memory_bench send DIR [high]
//       a whole send of DIR's photos through the export coordinator into a
//       Photos folder of its own, under POMELARK_MEMORY_MB when set: each
//       result, the budget, the peak (VmHWM) above the idle start, the time
//       and the CPU time taken, and what staging holds after. The idle start
//       is what the process holds (VmRSS) once a 64 × 64 photo went through
//       the same converter: its libraries are loaded and touched and its
//       threads and Qt's are up, as in an app that has sent a photo before;
//       what the send itself holds, x265's threads among it, is not
#include "platform/HeifWriter.h"
#include "services/ConvertService.h"
#include "services/ExportCoordinator.h"
#include "services/PhotosService.h"
#if __has_include("services/PhotoCost.h")
#include "services/PhotoCost.h"
#define HAS_PHOTO_COST 1
#endif

#include "ProcessStatus.h"

#include "support/AsyncTest.h"
#include "support/CameraLikePhotos.h"
#include "support/Fixtures.h"
#include "support/LargePictures.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <exiv2/exiv2.hpp>

#include <cstdio>
#include <ctime>

using namespace pomelark;
using namespace pomelark::test;
using namespace pomelark::bench;

namespace {

constexpr double megabyte = 1024.0 * 1024.0;

/// A large photo's rows: a camera-like 12-MP picture laid over it again and
/// again, mirrored at every other seam, so that it has a photo's detail.
class TiledPhoto {
public:
    explicit TiledPhoto(quint32 seed) : m_tile(cameraLikePicture(samplePhotographs(), seed)) {}

    void row(int y, QRgb *pixels, int width) const
    {
        const int h = m_tile.height(), w = m_tile.width();
        const int ty = (y / h) % 2 ? h - 1 - y % h : y % h;
        const auto *line = reinterpret_cast<const QRgb *>(m_tile.constScanLine(ty));
        for (int x = 0; x < width; ++x)
            pixels[x] = line[(x / w) % 2 ? w - 1 - x % w : x % w];
    }

private:
    QImage m_tile;
};

/// A header claiming `claimed` over a small arithmetic-coded grey picture
/// whose whole decode, zeros taken for all the rest, gives one flat grey.
QByteArray flatGreyClaim(QSize claimed)
{
    const TempFolder folder;
    for (quint32 seed = 1; seed < 200; ++seed) {
        const QString small = folder.filePath(u"small.jpg"_qs);
        quint32 state = seed;
        writeJpegByRows(small, {.colour = JpegColour::grey, .arithmetic = true}, [&](int, QRgb *row) {
            for (int x = 0; x < 64; ++x) {
                state = state * 1664525u + 1013904223u;
                const int level = 96 + int(state >> 28) * 8;
                row[x] = qRgb(level, level, level);
            }
        });
        const QByteArray claim = claimingSize(contentOf(small), claimed);
        try {
#ifdef HAS_PHOTO_COST
            if (!ImageSource::fromContent(claim).decodeComplete(false, 4096).isNull())
#else
            if (!ImageSource::fromContent(claim).decodeComplete(false).isNull())
#endif
                return claim;
        } catch (const std::exception &) {
            // Its missing rows do not decode flat: try another.
        }
    }
    return {};
}

/// Photos of a camera's detail at `size` and JPEG `quality`, written by rows.
void writeCameraLike(const QString &path, QSize size, int quality, quint32 seed)
{
    const QImage photo = cameraLikePicture(samplePhotographs(), seed, size);
    writeJpegByRows(path, {.size = size, .quality = quality}, [&](int y, QRgb *row) {
        std::copy_n(reinterpret_cast<const QRgb *>(photo.constScanLine(y)), photo.width(), row);
    });
}

/// A 640 × 480 photo under 300 MB of Extended XMP segments, which Qt's reader
/// joins with the rest of the APP1 segments.
bool writeExtendedXmpPhoto(const QString &path)
{
    writeCameraLike(path, QSize(640, 480), 92, 1);
    const QByteArray extended = withExtendedXmp(contentOf(path), 300LL * 1024 * 1024);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(extended) == extended.size();
}

int make(const QString &folder)
{
    QDir().mkpath(folder);
    const auto path = [&](const char *name) -> QString { return folder + QLatin1Char('/') + QLatin1String(name); };
    for (int i = 1; i <= 2; ++i) {
        const QImage photo = cameraLikePicture(samplePhotographs(), quint32(i));
        writeJpegByRows(path(i == 1 ? "small-1.jpg" : "small-2.jpg"), {.size = photo.size(), .quality = 92},
                        [&](int y, QRgb *row) {
                            std::copy_n(reinterpret_cast<const QRgb *>(photo.constScanLine(y)), photo.width(), row);
                        });
    }
    const TiledPhoto tiles(7);
    const struct {
        const char *name;
        JpegRecipe recipe;
    } large[] = {
        {"colour-100mp.jpg", {.size = QSize(12240, 8160), .quality = 92, .progressive = true}},
        {"grey-100mp.jpg", {.size = QSize(12240, 8160), .colour = JpegColour::grey, .quality = 92}},
        {"colour-240mp.jpg", {.size = QSize(18976, 12648), .quality = 92, .progressive = true}},
        {"grey-240mp.jpg", {.size = QSize(18976, 12648), .colour = JpegColour::grey, .quality = 92}},
        {"colour444-256mp.jpg", {.size = QSize(16000, 16000), .quality = 92, .progressive = true, .fullChroma = true}},
        {"colour-510mp.jpg", {.size = QSize(30000, 17000), .quality = 85}},
        {"grey-510mp.jpg", {.size = QSize(30000, 17000), .colour = JpegColour::grey, .quality = 85}},
    };
    for (const auto &photo : large) {
        const int width = photo.recipe.size.width();
        writeJpegByRows(path(photo.name), photo.recipe, [&](int y, QRgb *row) { tiles.row(y, row, width); });
        std::printf("%s: %lld bytes\n", photo.name, QFileInfo(path(photo.name)).size());
    }
    makeLargeJpeg(path("panorama-40000x15000.jpg"), QSize(40000, 15000), false);
    for (const QSize size : {QSize(64, 65500), QSize(65500, 64), QSize(9001, 3), QSize(64, 32768), QSize(32768, 64),
                             QSize(512, 32768)}) {
        writeJpegByRows(u"%1/narrow-%2x%3.jpg"_qs.arg(folder).arg(size.width()).arg(size.height()),
                        {.size = size, .quality = 92},
                        [&](int y, QRgb *row) { tiles.row(y, row, size.width()); });
    }
    const QString chunkedName = path("profile-chunks-640x480.jpg");
    writeJpegByRows(chunkedName, {.size = QSize(640, 480), .quality = 92},
                    [&](int y, QRgb *row) { tiles.row(y, row, 640); });
    const QByteArray chunked = withProfileChunks(contentOf(chunkedName), 4000, 65533);
    QFile chunks(chunkedName);
    if (!chunks.open(QIODevice::WriteOnly) || chunks.write(chunked) != chunked.size())
        return 1;
    // What the libraries leave resident outweighs a small coarse photo's picture.
    writeCameraLike(path("coarse-640x480-q10.jpg"), QSize(640, 480), 10, 1);
    if (!writeExtendedXmpPhoto(path("extended-xmp-640x480.jpg")))
        return 1;
    QFile bomb(path("flat-grey-14856x65283.jpg"));
    const QByteArray claim = flatGreyClaim(QSize(14856, 65283));
    if (claim.isEmpty() || !bomb.open(QIODevice::WriteOnly) || bomb.write(claim) != claim.size())
        return 1;
    std::printf("flat-grey-14856x65283.jpg: %lld bytes\n", claim.size());
    return 0;
}

int one(const QString &file, int rotation, bool high, QString output)
{
    const TempFolder folder;
    if (output.isEmpty())
        output = folder.filePath(u"out.heic"_qs);
    const qint64 before = statusKiB("VmRSS:");
    resetPeak();
    QElapsedTimer timer;
    timer.start();
    double estimate = 0;
#ifdef HAS_PHOTO_COST
    if (const auto cost = PhotoCost::ofFile(file, rotation))
        estimate = cost->peak(high) / megabyte;
#endif
    QString result = u"sent"_qs;
    {
        ConvertService service;
        try {
            awaitTask(service.convertPhoto(QUrl::fromLocalFile(file), QUrl::fromLocalFile(output), high, std::nullopt,
                                           rotation),
                      std::chrono::hours(1));
        } catch (const ConvertError &error) {
            result = u"refused("_qs + error.message() + u")"_qs;
        }
    }
    std::printf("%s %.0f %.0f %.1f\n", qPrintable(result.replace(u' ', u'_')), estimate,
                (statusKiB("VmHWM:") - before) / 1024.0, timer.elapsed() / 1000.0);
    return 0;
}

/// The send's read of a photo alone, and the part of the estimate it is held to.
int read(const QString &file, int rotation)
{
    const qint64 before = statusKiB("VmRSS:");
    resetPeak();
    double estimate = 0;
#ifdef HAS_PHOTO_COST
    if (const auto cost = PhotoCost::ofFile(file, rotation))
        estimate = cost->reading() / megabyte;
#endif
    QString result = u"read"_qs;
    try {
        ConvertService::readSourcePhoto(file, rotation);
    } catch (const ConvertError &) {
        result = u"refused"_qs;
    }
    std::printf("%s %.0f %.0f\n", qPrintable(result), estimate, (statusKiB("VmHWM:") - before) / 1024.0);
    return 0;
}

int table(const QString &folder, const QString &other)
{
    const QString self = QCoreApplication::applicationFilePath();
    std::printf("%-28s %4s %-8s %9s %9s %6s %7s | %s\n", "photo", "turn", "result", "estimate", "peak", "over",
                "seconds", "other: result peak seconds");
    for (const QString &name : QDir(folder).entryList({u"*.jpg"_qs}, QDir::Files, QDir::Name)) {
        for (const char *rotation : {"0", "90"}) {
            const QStringList arguments{u"one"_qs, folder + QLatin1Char('/') + name, QLatin1String(rotation)};
            const QStringList mine = runChild(self, arguments).split(u' ');
            QStringList reading = arguments;
            reading[0] = u"read"_qs;
            const QStringList read = runChild(self, reading).split(u' ');
            const QString theirs = other.isEmpty() ? QString() : runChild(other, arguments);
            const double estimate = mine.value(1).toDouble(), peak = mine.value(2).toDouble();
            const bool sent = mine.value(0) == u"sent"_qs;
            std::printf("%-28s %4s %-8s %6.0f MB %6.0f MB %+5.0f%% %7s | read %s of %s MB | %s\n", qPrintable(name),
                        rotation, sent ? "sent" : "refused", estimate, peak,
                        sent && peak > 0 ? 100 * (estimate / peak - 1) : 0.0, qPrintable(mine.value(3)),
                        qPrintable(read.value(2)), qPrintable(read.value(1)), qPrintable(theirs));
            std::fflush(stdout);
        }
    }
    return 0;
}

int encode(QSize size, const QString &kind, int quality)
{
    QImage picture(size, QImage::Format_RGB32);
    quint32 state = 12345;
    for (int y = 0; y < size.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            row[x] = kind.contains(u"noise"_qs) ? qRgb(state >> 24, (state >> 16) & 255, (state >> 8) & 255)
                                               : qRgb(int(qint64(x) * 200 / size.width()) + ((x / 4 + y / 4) % 2) * 24,
                                                      int(qint64(y) * 200 / size.height()), 120);
        }
    }
    if (kind.startsWith(u"grey"_qs))
        picture = std::move(picture).convertToFormat(QImage::Format_Grayscale8);
    const TempFolder folder;
    const QString output = folder.filePath(u"out.heic"_qs);
    const qint64 pictureBytes = picture.sizeInBytes();
    const qint64 before = statusKiB("VmRSS:") - pictureBytes / 1024;
    resetPeak();
    HeifWriter::write(std::move(picture), output, {.quality = quality});
    const double peak = (statusKiB("VmHWM:") - before) / 1024.0;
    const qint64 coded = QFileInfo(output).size();
#ifdef HAS_PHOTO_COST
    const double model = HeifWriter::peakBytes(size, pictureBytes, false, coded) / megabyte;
#else
    const double model = 0;
#endif
    std::printf("%dx%d %s q%d: peak %.1f MB, model %.1f MB (%+.1f%%), coded %.3f bytes a pixel (%lld bytes)\n",
                size.width(), size.height(), qPrintable(kind), quality, peak, model, 100 * (model / peak - 1),
                coded / (double(size.width()) * size.height()), coded);
    return 0;
}

int cards(const QString &root)
{
    const auto card = [&](const char *name) {
        const QString folder = root + QLatin1Char('/') + QLatin1String(name);
        QDir().mkpath(folder);
        return folder;
    };
    const auto numbered = [](const QString &folder, int index) {
        return u"%1/IMG_%2.JPG"_qs.arg(folder).arg(index, 4, 10, QLatin1Char('0'));
    };
    // Small and coarse: what the libraries and the encoder's threads hold outweighs their pictures.
    for (const auto &[name, count] : {std::pair("q10-20", 20), std::pair("q10-100", 100)}) {
        const QString folder = card(name);
        for (int i = 0; i < count; ++i)
            writeCameraLike(numbered(folder, i), i % 2 ? QSize(1024, 768) : QSize(640, 480), 10, quint32(i + 1));
    }
    const QString odd = card("odd-23");
    const TiledPhoto tiles(7);
    const QSize shapes[] = {QSize(64, 32767), QSize(32767, 64), QSize(256, 32767)};
    for (int i = 0, shape = 0; i < 23; ++i) {
        if (i % 2) {
            writeCameraLike(numbered(odd, i), cameraPhotoSize, 92, quint32(i + 1));
            continue;
        }
        const QSize size = shapes[shape++ % 3];
        writeJpegByRows(numbered(odd, i), {.size = size, .quality = 92},
                        [&](int y, QRgb *row) { tiles.row(y, row, size.width()); });
    }
    const QString camera = card("camera-30");
    for (int i = 0; i < 30; ++i)
        writeCameraLike(numbered(camera, i), cameraPhotoSize, 92, quint32(i + 1));
    return writeExtendedXmpPhoto(numbered(card("xmp"), 0)) ? 0 : 1;
}

/// What the process holds once the converter has sent a 64 × 64 photo: the
/// idle start a send's peak is counted from.
qint64 idleKiB(ConvertService &converter)
{
    const TempFolder folder;
    const QString tiny = makeJpeg(folder.filePath(u"tiny.jpg"_qs), {.size = QSize(64, 64)});
    awaitTask(converter.convertPhoto(QUrl::fromLocalFile(tiny), QUrl::fromLocalFile(folder.filePath(u"tiny.heic"_qs)),
                                     false, std::nullopt, 0));
    return statusKiB("VmRSS:");
}

int send(const QString &folder, bool high)
{
    const TempFolder staging, pictures;
    MediaItems items;
    for (const QString &name : QDir(folder).entryList({u"*.jpg"_qs}, QDir::Files, QDir::Name))
        items.append(
            {QUuid::createUuid(), QUrl::fromLocalFile(folder + QLatin1Char('/') + name), MediaItem::Kind::photo});
    ConvertService converter;
    const qint64 idle = idleKiB(converter);
    resetPeak();
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpuStart = std::clock();
    PhotosService photos(PhotoLibrary(pictures.filePath(u"Photos"_qs)));
    ExportCoordinator coordinator(converter, photos, staging.path());
    const ExportSettings settings{.quality = high ? QualityMode::quality : QualityMode::size};
    awaitTask(coordinator.exportItems(items, settings, {}, [] { return false; }), std::chrono::hours(2));
    const auto &phase = coordinator.phase();
    double budget = 0;
#ifdef HAS_PHOTO_COST
    budget = MemoryBudget::configuredBytes() / megabyte;
#endif
    std::printf("budget %.0f MB, idle %.0f MB, peak above idle %.0f MB: %d sent, %lld failed, %.1f s, CPU %.1f s\n",
                budget, idle / 1024.0, (statusKiB("VmHWM:") - idle) / 1024.0, phase.successPhotos,
                qint64(phase.failed.size()), timer.elapsed() / 1000.0,
                double(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    for (const auto &failure : phase.failed)
        std::printf("  %s: %s\n", qPrintable(failure.item.url.fileName()), qPrintable(failure.reason));
    QDirIterator left(staging.path(), QDir::Files, QDirIterator::Subdirectories);
    std::printf("staging %s\n", left.hasNext() ? "holds files" : "empty");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Exiv2::XmpParser::initialize();
    const QStringList a = app.arguments().mid(1);
    if (a.size() == 2 && a[0] == u"make"_qs)
        return make(a[1]);
    if (a.size() >= 3 && a[0] == u"one"_qs)
        return one(a[1], a[2].toInt(), a.value(3) == u"high"_qs, a.value(4));
    if (a.size() == 3 && a[0] == u"read"_qs)
        return read(a[1], a[2].toInt());
    if (a.size() >= 2 && a[0] == u"table"_qs)
        return table(a[1], a.value(2));
    if (a.size() == 5 && a[0] == u"encode"_qs)
        return encode(QSize(a[1].toInt(), a[2].toInt()), a[3], a[4].toInt());
    if (a.size() == 2 && a[0] == u"cards"_qs)
        return cards(a[1]);
    if (a.size() >= 2 && a[0] == u"send"_qs)
        return send(a[1], a.value(2) == u"high"_qs);
    std::fprintf(stderr, "usage: send_memory_bench make DIR | one FILE ROTATION [high|size [OUT]] | "
                         "read FILE ROTATION | table DIR [OTHER] | encode W H KIND QUALITY | cards DIR | "
                         "send DIR [high]\n");
    return 2;
}
