// Converts a varied set of photos at every turn and both qualities, so that a
// change meant to leave the HEICs alone can be shown to, byte for byte:
//
//   heic_identity_driver make DIR
//       the photos: odd sizes, every mirrored and turned EXIF orientation,
//       grey, CMYK, Display P3, 4:4:4, arithmetic, progressive, restart
//       markers with a scan per component, optimised tables, PNG content
//       named as a JPEG, a 12-MP camera-like photo, and five real JPEGs
//   heic_identity_driver convert DIR OUT
//       each photo of DIR turned by 0, 90 and 270 at both qualities, dated
//       alike, into OUT as NAME-TURN-QUALITY.heic
//
// Build it at the other commit too (scripts/build-bench-at REF
// heic_identity_driver), convert the same DIR with both, and `cmp` the files.
#include "services/ConvertService.h"

#include "support/AsyncTest.h"
#include "support/CameraLikePhotos.h"
#include "support/Fixtures.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <exiv2/exiv2.hpp>

#include <cstdio>

using namespace pomelark;
using namespace pomelark::test;

namespace {

int make(const QString &folder)
{
    QDir().mkpath(folder);
    const auto at = [&](const char *name) { return QDir(folder).filePath(QString::fromLatin1(name)); };
    const QString date = QStringLiteral("2023:07:14 08:30:00");
    makeJpeg(at("odd.jpg"), {.size = QSize(333, 217), .dateTimeOriginal = date});
    for (const int orientation : {2, 3, 5, 6, 7, 8})
        makeJpeg(at(qPrintable(QStringLiteral("orientation-%1.jpg").arg(orientation))),
                 {.size = QSize(321, 241), .orientation = orientation, .dateTimeOriginal = date});
    makeJpeg(at("grey.jpg"), {.size = QSize(401, 299), .colour = JpegColour::grey});
    makeJpeg(at("cmyk.jpg"), {.size = QSize(320, 240), .colour = JpegColour::cmyk});
    makeJpeg(at("p3.jpg"), {.size = QSize(320, 240), .colourSpace = QColorSpace(QColorSpace::DisplayP3)});
    makeJpeg(at("full-chroma.jpg"), {.size = QSize(640, 480), .fullChroma = true, .grain = 4});
    makeJpeg(at("arithmetic.jpg"), {.size = QSize(320, 240), .arithmetic = true});
    makeJpeg(at("progressive.jpg"), {.size = QSize(1001, 667), .progressive = true, .grain = 4});
    makeJpeg(at("restarts.jpg"), {.size = QSize(640, 480), .restartInterval = 7, .scanPerComponent = true});
    makeJpeg(at("optimised.jpg"), {.size = QSize(640, 480), .quality = 75, .optimized = true, .grain = 2});
    fixturePicture(QSize(300, 200)).save(at("png-content.jpg"), "PNG");
    cameraLikePicture(samplePhotographs(), 7).save(at("camera.jpg"), "JPG", 92);
    const QDir samples(QStringLiteral("/usr/share/doc/opencv-doc/examples/data"));
    for (const char *name : {"baboon.jpg", "fruits.jpg", "messi5.jpg", "building.jpg", "HappyFish.jpg"})
        QFile::copy(samples.filePath(QString::fromLatin1(name)), at(name));
    std::printf("%lld photos in %s\n", qlonglong(QDir(folder).entryList(QDir::Files).size()), qPrintable(folder));
    return 0;
}

int convert(const QString &folder, const QString &out)
{
    QDir().mkpath(out);
    ConvertService converter;
    const QDateTime date(QDate(2024, 5, 1), QTime(10, 20, 30));
    int failed = 0;
    for (const QFileInfo &photo : QDir(folder).entryInfoList(QDir::Files, QDir::Name)) {
        for (const int turn : {0, 90, 270}) {
            for (const bool high : {true, false}) {
                const QString name = QStringLiteral("%1-%2-%3.heic")
                                         .arg(photo.completeBaseName())
                                         .arg(turn)
                                         .arg(high ? QStringLiteral("quality") : QStringLiteral("size"));
                try {
                    awaitTask(converter.convertPhoto(QUrl::fromLocalFile(photo.filePath()),
                                                     QUrl::fromLocalFile(QDir(out).filePath(name)), high, date, turn));
                } catch (const ConvertError &error) {
                    std::printf("%s: %s\n", qPrintable(name), qPrintable(error.message()));
                    ++failed;
                }
            }
        }
    }
    std::printf("%lld files in %s, %d failed\n", qlonglong(QDir(out).entryList(QDir::Files).size()), qPrintable(out),
                failed);
    return failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Exiv2::XmpParser::initialize();
    const QStringList a = app.arguments().mid(1);
    if (a.size() == 2 && a[0] == u"make"_qs)
        return make(a[1]);
    if (a.size() == 3 && a[0] == u"convert"_qs)
        return convert(a[1], a[2]);
    std::fprintf(stderr, "usage: heic_identity_driver make DIR | convert DIR OUT\n");
    return 2;
}
