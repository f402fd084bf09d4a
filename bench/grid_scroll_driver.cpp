// Scrolls the media grid over 5,000 camera-like photos at a steady 600, 1,200
// and 2,400 px/s, down and up, and reports the share of on-screen tiles that
// show no picture yet (sampled every frame), through the real thumbnail cache.
//
//   grid_scroll_driver make DIR                 writes the photos (once; about 125 MB)
//   grid_scroll_driver measure DIR              one round, "figure" lines
//   grid_scroll_driver compare DIR OTHER [rounds=3]
//       rounds of OTHER (this driver built from other code, such as main's) and
//       of this build, taking turns, each in its own process; then the medians
//       (scripts/build-bench-at REF builds OTHER from the code at REF)
//
// The photos are 32 distinct 12-MP JPEGs (4032 × 3024, a mosaic of real
// photographs with sensor noise, 3.9 MB each like a camera's at quality 92, a
// quarter of them turned by EXIF orientation 6), each
// hard-linked under many names: every name is its own item and its own decode,
// while the page cache holds only the 32 files. The grid is 900 × 580 px, as in
// the app's first window. Before each run the memory cache is emptied and the
// screen at the starting point is let load fully, as when a user starts to
// scroll.
#include "BenchRounds.h"

#include "browsing/GridLayout.h"
#include "browsing/MediaGridView.h"
#include "browsing/PhotoThumbnail.h"
#include "services/ThumbnailMemoryCache.h"
#include "support/AsyncTest.h"
#include "support/CameraLikePhotos.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScrollBar>
#include <QThread>
#include <QTimer>
#include <QUuid>

#include <exiv2/exiv2.hpp>

#include <cstdio>
#include <unistd.h>

using namespace pomelark;

namespace {

constexpr int photoCount = 5000;
constexpr int distinctPhotos = 32;
// Noise that brings the files to the size of a 12-MP camera JPEG (about 3.8 MB).
constexpr int grain = 9;
constexpr double runSeconds = 8;
const QSize gridSize(900, 580);
constexpr int speeds[] = {600, 1200, 2400};

QString photoPath(const QString &folder, int index)
{
    return folder + QStringLiteral("/DCIM/IMG_%1.JPG").arg(index, 4, 10, QLatin1Char('0'));
}

int makePhotos(const QString &folder)
{
    QDir().mkpath(folder + QStringLiteral("/seeds"));
    QDir().mkpath(folder + QStringLiteral("/DCIM"));
    const QList<QImage> sources = test::samplePhotographs();
    QStringList seeds;
    qint64 bytes = 0;
    for (int seed = 0; seed < distinctPhotos; ++seed) {
        const QString path = folder + QStringLiteral("/seeds/seed%1.jpg").arg(seed);
        QImage picture = test::cameraLikePicture(sources, quint32(seed + 1), test::cameraPhotoSize, grain);
        if (!picture.save(path, "JPG", 92))
            return 1;
        auto image = Exiv2::ImageFactory::open(path.toStdString());
        image->readMetadata();
        image->exifData()["Exif.Image.Orientation"] = uint16_t(seed % 4 == 3 ? 6 : 1);
        image->exifData()["Exif.Photo.DateTimeOriginal"] = std::string("2024:05:01 10:00:00");
        image->writeMetadata();
        bytes += QFileInfo(path).size();
        seeds << path;
    }
    for (int index = 0; index < photoCount; ++index) {
        const QString path = photoPath(folder, index);
        QFile::remove(path);
        if (::link(QFile::encodeName(seeds[index % distinctPhotos]).constData(), QFile::encodeName(path).constData()))
            return 1;
    }
    std::printf("%d photos from %d distinct JPEGs of %dx%d, %.2f MB each on average\n", photoCount, distinctPhotos,
                test::cameraPhotoSize.width(), test::cameraPhotoSize.height(), bytes / 1e6 / distinctPhotos);
    return 0;
}

/// What one thumbnail decode costs here, alone on an idle pool: the median of one
/// decode of each distinct photo.
double medianDecodeMs(const QString &folder)
{
    QList<double> times;
    for (int index = 0; index < distinctPhotos; ++index) {
        QElapsedTimer timer;
        timer.start();
        loadThumbnailImage(QUrl::fromLocalFile(photoPath(folder, index)), ThumbnailMemoryCache::thumbnailPixelSize);
        times << timer.nsecsElapsed() / 1e6;
    }
    return bench::median(times);
}

class ScrollRun {
public:
    explicit ScrollRun(MediaGridView &grid) : m_grid(grid) {}

    /// The share of on-screen tiles without a picture, over every frame of the run.
    double blankShare(int speed, bool down)
    {
        QScrollBar *bar = m_grid.verticalScrollBar();
        const double distance = speed * runSeconds;
        const int start = down ? 2000 : bar->maximum() - 2000;
        ThumbnailMemoryCache::shared().removeAll();
        bar->setValue(start);
        const bool settled = test::spinUntil(
            [&] {
                return countBlank().blank == 0 && ThumbnailMemoryCache::shared().activeLoads() == 0;
            },
            std::chrono::seconds(30));
        if (!settled)
            std::fprintf(stderr, "the first screen did not load\n");

        Count total;
        int frames = 0;
        m_pictured.clear();
        countBlank(); // the pictures of the first screen do not count as loaded during the run
        const qsizetype atStart = m_pictured.size();
        QEventLoop loop;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QElapsedTimer clock;
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            // What the last painted frame showed, then the next step of the scroll.
            const Count now = countBlank();
            total.blank += now.blank;
            total.shown += now.shown;
            ++frames;
            const double travelled = std::min(distance, speed * clock.nsecsElapsed() / 1e9);
            bar->setValue(int(std::lround(start + (down ? travelled : -travelled))));
            if (travelled >= distance)
                loop.quit();
        });
        clock.start();
        tick.start(16);
        loop.exec();
        m_framesPerSecond = frames / (clock.nsecsElapsed() / 1e9);
        m_picturesPerSecond = (m_pictured.size() - atStart) / (clock.nsecsElapsed() / 1e9);
        return total.shown ? double(total.blank) / total.shown : 0;
    }

    double framesPerSecond() const { return m_framesPerSecond; }
    /// Tiles that came to show a picture on screen during the run, per second.
    double picturesPerSecond() const { return m_picturesPerSecond; }

private:
    struct Count {
        qint64 blank = 0;
        qint64 shown = 0;
    };

    Count countBlank()
    {
        Count count;
        const qreal top = m_grid.scrollOffset() - GridLayout::verticalPadding;
        const GridLayout::Range range = m_grid.layout().indicesIn(top, top + m_grid.viewport()->height());
        for (int index = range.first; index < range.end; ++index) {
            const auto *tile = qobject_cast<PhotoThumbnail *>(m_grid.tile(m_grid.items()[index].id));
            ++count.shown;
            if (!tile || !tile->image())
                ++count.blank;
            else
                m_pictured.insert(index);
        }
        return count;
    }

    MediaGridView &m_grid;
    double m_framesPerSecond = 0;
    double m_picturesPerSecond = 0;
    QSet<int> m_pictured;
};

int measure(const QString &folder)
{
    if (!QFileInfo::exists(photoPath(folder, photoCount - 1))) {
        std::fprintf(stderr, "no photos in %s: run `make` first\n", qPrintable(folder));
        return 1;
    }
    bench::printFigure(QStringLiteral("decode_ms_alone"), medianDecodeMs(folder));
    MediaItems photos;
    for (int index = 0; index < photoCount; ++index)
        photos.append({QUuid::createUuid(), QUrl::fromLocalFile(photoPath(folder, index)), MediaItem::Kind::photo});
    MediaGridView::Inputs inputs;
    inputs.photos = photos;
    MediaGridView grid(inputs);
    grid.resize(gridSize);
    grid.show();
    QApplication::processEvents();

    // Tiles coming on screen per second at each speed, for comparison with pictures/s.
    std::fprintf(stderr, "%d columns; tiles coming per second:", grid.layout().columns());
    for (const int speed : speeds)
        std::fprintf(stderr, " %.0f at %d px/s", grid.layout().columns() * speed / (GridLayout::tileSide + GridLayout::spacing), speed);
    std::fprintf(stderr, "\n");
    ScrollRun run(grid);
    for (const int speed : speeds) {
        for (const bool down : {true, false}) {
            const QString name = QStringLiteral("%1_%2").arg(speed, 4, 10, QLatin1Char('0')).arg(down ? "down" : "up");
            bench::printFigure(QStringLiteral("blank%_") + name, 100 * run.blankShare(speed, down));
            bench::printFigure(QStringLiteral("fps_") + name, run.framesPerSecond());
            bench::printFigure(QStringLiteral("pictures/s_") + name, run.picturesPerSecond());
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Exiv2::XmpParser::initialize();
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const QString mode = arguments.value(1);
    const QString folder = arguments.value(2);
    int status = 2;
    if (mode == QLatin1String("make") && !folder.isEmpty())
        status = makePhotos(folder);
    else if (mode == QLatin1String("measure") && !folder.isEmpty())
        status = measure(folder);
    else if (mode == QLatin1String("compare") && arguments.size() >= 4) {
        std::printf("grid %dx%d, %d photos, %d cores, runs of %.0f s\n", gridSize.width(), gridSize.height(),
                    photoCount, QThread::idealThreadCount(), runSeconds);
        status = bench::compareCommand(arguments);
    } else
        std::fprintf(stderr, "usage: grid_scroll_driver make DIR | measure DIR | compare DIR OTHER [rounds]\n");
    Exiv2::XmpParser::terminate();
    return status;
}
