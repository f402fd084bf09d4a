// Times how long a video takes to show its first frame in the viewer's video
// panel: opened at once (poster, playable file and player all fresh), and
// opened after the grid and the prewarmer prepared it (poster cached, playable
// file known). Each figure is the best of the rounds, each round with empty
// working folders. The stages of every open (the player made, its media
// states, the first frame) go to stderr with their times, so that an open
// that never ends shows where it stopped.
//
//   first_frame_bench <video> [rounds]     (default 3)
//
// A phone's 60 s 4K HEVC Main 10 clip:
//   ffmpeg -f lavfi -i testsrc2=size=3840x2160:rate=30 -f lavfi -i sine -t 60 \
//     -c:v libx265 -preset ultrafast -b:v 40M -pix_fmt yuv420p10le \
//     -colorspace bt2020nc -color_primaries bt2020 -color_trc arib-std-b67 \
//     -tag:v hvc1 -c:a aac phone.mov
#include "browsing/VideoPlayerPanel.h"
#include "browsing/VideoPlayerView.h"
#include "services/PlaybackPrewarmer.h"
#include "services/ThumbnailService.h"
#include "services/WorkingFolders.h"
#include "support/AsyncTest.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMediaPlayer>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>
#include <QVideoFrame>
#include <QVideoSink>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>

using namespace pomelark;
using namespace std::chrono_literals;

namespace {

struct Times {
    double playable = 0;   ///< the panel has its player (poster and playable file done)
    double firstFrame = 0; ///< the picture shows
};

const char *statusName(QMediaPlayer::MediaStatus status)
{
    switch (status) {
    case QMediaPlayer::NoMedia: return "no media";
    case QMediaPlayer::LoadingMedia: return "loading";
    case QMediaPlayer::LoadedMedia: return "loaded";
    case QMediaPlayer::StalledMedia: return "stalled";
    case QMediaPlayer::BufferingMedia: return "buffering";
    case QMediaPlayer::BufferedMedia: return "buffered";
    case QMediaPlayer::EndOfMedia: return "end of media";
    case QMediaPlayer::InvalidMedia: return "invalid media";
    }
    return "?";
}

/// Prints each stage of an open on stderr as it comes, for as long as `context` lives.
void watchStages(VideoPlayerPanel *panel, const QElapsedTimer &clock, QObject *context)
{
    auto stage = [&clock](const QByteArray &what) {
        std::fprintf(stderr, "  %7.3f s  %s\n", clock.nsecsElapsed() / 1e9, what.constData());
    };
    stage("opened");
    // Whether a player replaced for want of a picture had sent any frame, and how far it got.
    struct Seen {
        QPointer<QMediaPlayer> player;
        int frames = 0;
        qint64 position = 0;
    };
    auto last = std::make_shared<std::shared_ptr<Seen>>();
    QObject::connect(panel, &VideoPlayerPanel::stateChanged, context, [=] {
        QMediaPlayer *player = panel->player();
        if (!player || (*last && (*last)->player == player))
            return;
        if (*last)
            stage(QStringLiteral("the player before sent %1 frames, at %2 ms")
                      .arg((*last)->frames)
                      .arg((*last)->position)
                      .toUtf8());
        auto seen = std::make_shared<Seen>();
        seen->player = player;
        *last = seen;
        stage("player made");
        // The ffmpeg backend may report the media loaded from inside setSource().
        stage(statusName(player->mediaStatus()));
        QObject::connect(player, &QMediaPlayer::mediaStatusChanged, context,
                         [=](QMediaPlayer::MediaStatus status) { stage(statusName(status)); });
        QObject::connect(player->videoSink(), &QVideoSink::videoFrameChanged, player,
                         [=](const QVideoFrame &frame) { seen->frames += frame.isValid() ? 1 : 0; });
        QObject::connect(player, &QMediaPlayer::positionChanged, context,
                         [=](qint64 position) { seen->position = position; });
    });
    QObject::connect(panel, &VideoPlayerPanel::stateChanged, context, [=, shown = false]() mutable {
        if (shown || !panel->isVideoSurfaceReady())
            return;
        shown = true;
        stage("first frame");
    });
}

/// Opens the panel on `item` and waits for its first painted frame.
Times open(const MediaItem &item)
{
    QWidget window;
    window.resize(1280, 800);
    QElapsedTimer clock;
    clock.start();
    QObject watch;
    auto *panel = new VideoPlayerPanel({item, true}, &window);
    watchStages(panel, clock, &watch);
    panel->resize(window.size());
    window.show();
    Times times;
    test::spinUntil([&] { return panel->player() != nullptr || panel->phase() == VideoPlayerPanel::Phase::failed; },
                    30min);
    times.playable = clock.nsecsElapsed() / 1e9;
    test::spinUntil([&] { return panel->isVideoSurfaceReady() || panel->phase() == VideoPlayerPanel::Phase::failed; },
                    30min);
    auto *surface = panel->findChild<VideoPlayerView *>();
    // The frame is shown once painted: that includes its conversion.
    if (panel->isVideoSurfaceReady() && surface)
        surface->grab();
    times.firstFrame = panel->isVideoSurfaceReady() ? clock.nsecsElapsed() / 1e9
                                                    : std::numeric_limits<double>::infinity();
    panel->finish();
    return times;
}

/// Empties the posters and playable copies, as a new session does.
void clearWorkingFolders()
{
    const WorkingFolders folders = WorkingFolders::standard();
    for (const QString &folder : {folders.videoThumbnails(), folders.videoPlayback()}) {
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir cacheHome;
    qputenv("XDG_CACHE_HOME", cacheHome.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_frame_bench <video> [rounds]\n");
        return 2;
    }
    const MediaItem item{QUuid::createUuid(), QUrl::fromLocalFile(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath()),
                         MediaItem::Kind::video};
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    Times atOnce{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    Times prepared = atOnce;
    double preparing = std::numeric_limits<double>::infinity();
    for (int round = 0; round < rounds; ++round) {
        clearWorkingFolders();
        std::fprintf(stderr, "round %d, opened at once:\n", round + 1);
        const Times cold = open(item);
        atOnce.playable = std::min(atOnce.playable, cold.playable);
        atOnce.firstFrame = std::min(atOnce.firstFrame, cold.firstFrame);

        // As in a session: the grid's tile fetches the poster, the prewarmer
        // prepares the playable file, and only then does the user open it.
        clearWorkingFolders();
        QElapsedTimer clock;
        clock.start();
        test::awaitTask(ThumbnailService::shared().videoInfo(item.url), 30min);
        PlaybackPrewarmer prewarmer;
        prewarmer.start({item});
        test::spinUntil([&] {
            const auto state = prewarmer.state(item.url);
            return state == PlaybackPrewarmer::State::ready || state == PlaybackPrewarmer::State::failed;
        }, 30min);
        preparing = std::min(preparing, clock.nsecsElapsed() / 1e9);
        test::awaitTask(prewarmer.stop(), 30min);
        std::fprintf(stderr, "round %d, opened after the grid and the prewarmer:\n", round + 1);
        const Times warm = open(item);
        prepared.playable = std::min(prepared.playable, warm.playable);
        prepared.firstFrame = std::min(prepared.firstFrame, warm.firstFrame);
    }
    std::printf("%s, %d CPUs, best of %d\n", argv[1], QThread::idealThreadCount(), rounds);
    std::printf("opened at once:   player after %.2f s, first frame after %.2f s\n", atOnce.playable,
                atOnce.firstFrame);
    std::printf("grid and prewarmer took %.2f s; opened then: player after %.2f s, first frame after %.2f s\n",
                preparing, prepared.playable, prepared.firstFrame);
    return 0;
}
