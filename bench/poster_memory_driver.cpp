// Peak memory of the grid over short 4K videos: their posters prepared as the
// import session does (a window of 4), then the media grid scrolled from the
// first row to the last, waiting at each screen until every tile shows its
// poster. The peak resident size (VmHWM) of a run with no video and of one with
// all of them gives the growth per video.
//
//   poster_memory_driver make DIR [videos=500]     the clips and their posters (once)
//   poster_memory_driver measure DIR               both runs, "figure" lines
//   poster_memory_driver compare DIR OTHER [rounds=3]
//       rounds of OTHER (this driver built from other code, such as main's) and
//       of this build, taking turns, each in its own processes; then the medians
//       (scripts/build-bench-at REF builds OTHER from the code at REF)
//
// The clips are one 0.4 s 3840 × 2160 H.264 test pattern made by ffmpeg's lavfi,
// hard-linked under each name: every name has its own cache key, poster file
// and tile. The working folders live under DIR (XDG_CACHE_HOME), never the
// user's own; `make` fills the poster cache so that runs spend no time on it.
#include "BenchRounds.h"
#include "ProcessStatus.h"

#include "browsing/MediaGridView.h"
#include "browsing/VideoTile.h"
#include "services/ThumbnailService.h"
#include "support/AsyncTest.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QScrollBar>
#include <QTimer>
#include <QUuid>

#include <exiv2/exiv2.hpp>

#include <cstdio>
#include <unistd.h>

using namespace pomelark;
using pomelark::bench::statusKiB;

namespace {

constexpr int defaultVideos = 500;
const QSize gridSize(900, 580);

QString clipPath(const QString &folder, int index)
{
    return folder + QStringLiteral("/DCIM/CLIP_%1.MOV").arg(index, 4, 10, QLatin1Char('0'));
}

MediaItems clips(const QString &folder)
{
    MediaItems items;
    for (int index = 0; QFileInfo::exists(clipPath(folder, index)); ++index)
        items.append({QUuid::createUuid(), QUrl::fromLocalFile(clipPath(folder, index)), MediaItem::Kind::video});
    return items;
}

int makeClips(const QString &folder, int count)
{
    const QString seed = test::makeVideo(folder + QStringLiteral("/seed.mov"),
                                         {test::VideoFormat::movH264, false, 0.4, QSize(3840, 2160)});
    QDir().mkpath(folder + QStringLiteral("/DCIM"));
    for (int index = 0; index < count; ++index) {
        const QString path = clipPath(folder, index);
        QFile::remove(path);
        if (::link(QFile::encodeName(seed).constData(), QFile::encodeName(path).constData()))
            return 1;
    }
    test::awaitTask(ThumbnailService::shared().prewarm(clips(folder), [](int, int) {}), std::chrono::minutes(30));
    std::printf("%d clips of %lld bytes, posters in %s\n", count, QFileInfo(seed).size(),
                qPrintable(ThumbnailService::shared().cacheDir()));
    return 0;
}

/// One run in this process: the posters, the grid, the scroll; prints the peak in KiB.
int peakRun(const QString &folder, int count)
{
    const MediaItems videos = clips(folder).mid(0, count);
    test::awaitTask(ThumbnailService::shared().prewarm(videos, [](int, int) {}), std::chrono::minutes(30));
    MediaGridView::Inputs inputs;
    inputs.videos = videos;
    MediaGridView grid(inputs);
    grid.resize(gridSize);
    grid.show();
    QScrollBar *bar = grid.verticalScrollBar();
    const auto screenShown = [&] {
        const qreal top = grid.scrollOffset() - GridLayout::verticalPadding;
        const GridLayout::Range range = grid.layout().indicesIn(top, top + grid.viewport()->height());
        for (int index = range.first; index < range.end; ++index) {
            const auto *tile = qobject_cast<VideoTile *>(grid.tile(grid.items()[index].id));
            if (!tile || !tile->info())
                return false;
        }
        return true;
    };
    // Page by page inside a running event loop, as in the app: tiles the grid
    // drops are deleted only when control returns to a running loop.
    QEventLoop loop;
    QTimer step;
    QDeadlineTimer screenLimit(std::chrono::minutes(2));
    QObject::connect(&step, &QTimer::timeout, &loop, [&] {
        if (!screenShown() && !screenLimit.hasExpired())
            return;
        if (screenLimit.hasExpired())
            std::fprintf(stderr, "the screen at %d did not show every poster\n", bar->value());
        if (bar->value() >= bar->maximum()) {
            loop.quit();
            return;
        }
        bar->setValue(bar->value() + grid.viewport()->height() / 2);
        screenLimit.setRemainingTime(std::chrono::minutes(2));
    });
    step.start(5);
    loop.exec();
    std::printf("peak %lld\n", statusKiB("VmHWM:"));
    return 0;
}

qint64 childPeakKiB(const QString &folder, int count)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("peak"), folder, QString::number(count)});
    child.waitForFinished(-1);
    const QList<QByteArray> words = child.readAllStandardOutput().trimmed().split(' ');
    return words.size() == 2 && words[0] == "peak" ? words[1].toLongLong() : -1;
}

int measure(const QString &folder)
{
    const int count = int(clips(folder).size());
    if (count == 0) {
        std::fprintf(stderr, "no clips in %s: run `make` first\n", qPrintable(folder));
        return 1;
    }
    const qint64 none = childPeakKiB(folder, 0);
    const qint64 all = childPeakKiB(folder, count);
    if (none < 0 || all < 0)
        return 1;
    bench::printFigure(QStringLiteral("peak_MiB_0_videos"), none / 1024.0);
    bench::printFigure(QStringLiteral("peak_MiB_%1_videos").arg(count), all / 1024.0);
    bench::printFigure(QStringLiteral("growth_MiB_per_video"), (all - none) / 1024.0 / count);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString folder = argc > 2 ? QDir(QString::fromLocal8Bit(argv[2])).absolutePath() : QString();
    // The working folders (posters among them) under DIR, never the user's.
    if (!folder.isEmpty())
        qputenv("XDG_CACHE_HOME", QFile::encodeName(folder + QStringLiteral("/cache")));
    Exiv2::XmpParser::initialize();
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const QString mode = arguments.value(1);
    int status = 2;
    if (mode == QLatin1String("make") && !folder.isEmpty())
        status = makeClips(folder, arguments.value(3, QString::number(defaultVideos)).toInt());
    else if (mode == QLatin1String("peak") && arguments.size() >= 4)
        status = peakRun(folder, arguments[3].toInt());
    else if (mode == QLatin1String("measure") && !folder.isEmpty())
        status = measure(folder);
    else if (mode == QLatin1String("compare") && arguments.size() >= 4) {
        std::printf("grid %dx%d, %lld clips of 3840x2160\n", gridSize.width(), gridSize.height(),
                    qlonglong(clips(folder).size()));
        status = bench::compareCommand(arguments);
    } else
        std::fprintf(stderr, "usage: poster_memory_driver make DIR [videos] | measure DIR | compare DIR OTHER [rounds]\n");
    Exiv2::XmpParser::terminate();
    return status;
}
