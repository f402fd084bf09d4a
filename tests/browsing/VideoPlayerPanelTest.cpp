#include "browsing/VideoPlayerPanel.h"
#include "browsing/VideoPlayerView.h"
#include "look/HiddenShortcuts.h"
#include "platform/SystemLog.h"

#include "support/AsyncTest.h"
#include "support/GalleryPictures.h"
#include "support/Fixtures.h"
#include "support/SteppedTime.h"
#include "support/TempFolder.h"

#include <QMediaPlayer>
#include <QTemporaryDir>
#include <QUuid>
#include <QVideoFrame>
#include <QVideoSink>

#include <gtest/gtest.h>

using namespace pomelark::test;
using namespace std::chrono_literals;

namespace pomelark {
namespace {

// The panel uses the app's shared poster and playback services; their working
// folders must live in a temporary cache, never the user's. Set before any test
// (and so before those services are first made).
const struct TemporaryCacheHome {
    QTemporaryDir dir;
    TemporaryCacheHome() { qputenv("XDG_CACHE_HOME", dir.path().toUtf8()); }
} temporaryCacheHome;

MediaItem videoItem(const QString &path)
{
    return {QUuid::createUuid(), QUrl::fromLocalFile(path), MediaItem::Kind::video};
}

/// A player that loads its video and then shows no frame, without an error or
/// an end, as Qt's player does once in a long while. Given a clock, its own
/// runs from play() as Qt's does on its sound while the first frame is late,
/// and a Qt player without a source carries the frame the test hands it.
class FramelessPlayer : public PanelPlayer {
public:
    explicit FramelessPlayer(QObject *parent, const AnimationClock *clock = nullptr)
        : PanelPlayer(parent), m_clock(clock), m_carrier(clock ? new QMediaPlayer(this) : nullptr)
    {
    }

    void setSource(const QUrl &) override
    {
        m_status = QMediaPlayer::LoadingMedia;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_status = QMediaPlayer::LoadedMedia;
                Q_EMIT mediaStatusChanged(m_status);
            },
            Qt::QueuedConnection);
    }
    void play() override { runFrom(QMediaPlayer::PlayingState); }
    void pause() override { runFrom(QMediaPlayer::PausedState); }
    void stop() override { m_state = QMediaPlayer::StoppedState; }
    void setPosition(qint64 milliseconds) override
    {
        m_base = milliseconds;
        m_since = m_clock ? m_clock->now() : std::chrono::nanoseconds{};
    }
    qint64 position() const override
    {
        if (!m_clock || m_state != QMediaPlayer::PlayingState)
            return m_clock ? m_base : 0;
        return m_base + std::chrono::duration_cast<std::chrono::milliseconds>(m_clock->now() - m_since).count();
    }
    QMediaPlayer::MediaStatus mediaStatus() const override { return m_status; }
    QMediaPlayer::PlaybackState playbackState() const override { return m_state; }
    bool hasVideo() const override { return true; }
    QMediaPlayer *mediaPlayer() const override { return m_carrier; }

    void showFirstFrame()
    {
        m_carrier->videoSink()->setVideoFrame(QVideoFrame(QVideoFrameFormat(QSize(16, 16), QVideoFrameFormat::Format_RGBA8888)));
    }

private:
    void runFrom(QMediaPlayer::PlaybackState state)
    {
        setPosition(position());
        m_state = state;
    }

    const AnimationClock *m_clock;
    QMediaPlayer *m_carrier;
    QMediaPlayer::MediaStatus m_status = QMediaPlayer::NoMedia;
    QMediaPlayer::PlaybackState m_state = QMediaPlayer::StoppedState;
    qint64 m_base = 0;
    std::chrono::nanoseconds m_since{};
};

void saveGallery(QWidget &widget, const QString &name)
{
    EXPECT_TRUE(widget.grab().save(test::galleryPath(name)));
}

class VideoPlayerPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(640, 480);
        window.setAutoFillBackground(true);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, QColor(0x1C, 0x18, 0x14));
        window.setPalette(palette);
        window.show();
    }

    VideoPlayerPanel *makePanel(const QString &path, bool space = true)
    {
        auto *panel = new VideoPlayerPanel({videoItem(path), space}, &window);
        panel->setGeometry(20, 20, 600, 440);
        panel->show();
        return panel;
    }

    static bool waitForPhase(VideoPlayerPanel *panel, VideoPlayerPanel::Phase phase)
    {
        return spinUntil([&] { return panel->phase() == phase; }, 60s);
    }

    /// A panel on `time` whose players `makePlayer` makes.
    std::unique_ptr<VideoPlayerPanel> makeStandInPanel(const QString &path, SteppedTime &time,
                                                       PanelPlayer::Maker makePlayer)
    {
        auto panel = std::make_unique<VideoPlayerPanel>(VideoPlayerPanel::Inputs{videoItem(path), true}, &window,
                                                        time.ticker, std::move(makePlayer));
        panel->setGeometry(20, 20, 600, 440);
        panel->show();
        return panel;
    }

    /// Until `count` players were made and the last has loaded or is gone.
    static bool settled(const QList<QPointer<FramelessPlayer>> &players, qsizetype count)
    {
        return spinUntil([&] {
            return players.size() == count
                   && (!players.last() || players.last()->mediaStatus() == QMediaPlayer::LoadedMedia);
        });
    }

    TempFolder folder;
    QWidget window;
};

TEST_F(VideoPlayerPanelTest, PreparesThenPlaysByItselfAndStopsAtTheEnd)
{
    const QString path = makeVideo(folder.filePath(QStringLiteral("clip.mov")), {.seconds = 2.0});
    VideoPlayerPanel *panel = makePanel(path);
    EXPECT_EQ(panel->phase(), VideoPlayerPanel::Phase::idle);
    EXPECT_FALSE(panel->shortcuts()->isEnabled(QStringLiteral("PlayPause")));

    ASSERT_TRUE(waitForPhase(panel, VideoPlayerPanel::Phase::playing));
    ASSERT_TRUE(panel->info());
    EXPECT_NEAR(panel->info()->duration, 2.0, 0.1);
    // The panel has the poster's shape: 160 × 120.
    EXPECT_NEAR(panel->panelRect().width() / panel->panelRect().height(), 4.0 / 3.0, 0.01);
    EXPECT_TRUE(panel->isVideoSurfaceReady());
    EXPECT_TRUE(panel->timeline().isPlaying());
    EXPECT_TRUE(panel->shortcuts()->isEnabled(QStringLiteral("PlayPause")));
    auto *surface = panel->findChild<VideoPlayerView *>();
    ASSERT_TRUE(surface);
    EXPECT_FALSE(surface->currentImage().isNull());
    ASSERT_TRUE(spinUntil([&] { return panel->chrome()->state().playingFade >= 1; }, 30s));
    EXPECT_FALSE(panel->chrome()->barRect().isEmpty());
    saveGallery(window, QStringLiteral("video-playing.png"));

    // Playing stops a moment before the last frame; the player's end notice,
    // which may come a little later on a busy machine, fills the scrubber.
    ASSERT_TRUE(spinUntil([&] { return !panel->timeline().isPlaying() && panel->timeline().progress() >= 1.0; }, 60s));
    EXPECT_DOUBLE_EQ(panel->timeline().progress(), 1.0);
    // Play at the end starts again from the beginning: the time comes back from
    // the end, or, on a machine so busy that no time is reported on the way, the
    // clip plays through to its end once more.
    bool cameBack = false;
    bool endedAgain = false;
    // The panel outlives this body (it goes with the window, and tells of its
    // end as it goes): the watch ends before the flags it writes do.
    QObject watch;
    QObject::connect(panel, &VideoPlayerPanel::stateChanged, &watch, [&] {
        const double time = panel->timeline().currentTime();
        cameBack = cameBack || (time > 0 && time < 1.5);
    });
    QObject::connect(panel->player(), &QMediaPlayer::mediaStatusChanged, &watch,
                     [&](QMediaPlayer::MediaStatus status) { endedAgain = endedAgain || status == QMediaPlayer::EndOfMedia; });
    panel->togglePlayback();
    EXPECT_TRUE(panel->timeline().isPlaying());
    ASSERT_TRUE(spinUntil([&] { return cameBack || endedAgain; }, 30s));
}

TEST_F(VideoPlayerPanelTest, SpaceTogglesOnlyWhenAllowedAndScrubbingWhilePlayingResumes)
{
    const QString path = makeVideo(folder.filePath(QStringLiteral("long.mp4")), {.format = VideoFormat::mp4Hevc, .seconds = 4.0});
    VideoPlayerPanel *panel = makePanel(path, false);
    ASSERT_TRUE(waitForPhase(panel, VideoPlayerPanel::Phase::playing));
    EXPECT_FALSE(panel->shortcuts()->trigger(QStringLiteral("PlayPause")));
    EXPECT_TRUE(panel->timeline().isPlaying());

    panel->setSpaceTogglesPlayback(true);
    EXPECT_TRUE(panel->shortcuts()->trigger(QStringLiteral("PlayPause")));
    EXPECT_FALSE(panel->timeline().isPlaying());
    EXPECT_EQ(panel->player()->playbackState(), QMediaPlayer::PausedState);
    panel->togglePlayback();
    EXPECT_EQ(panel->player()->playbackState(), QMediaPlayer::PlayingState);

    panel->seek(50, 100);
    EXPECT_EQ(panel->player()->playbackState(), QMediaPlayer::PausedState);
    EXPECT_NEAR(panel->timeline().currentTime(), 2.0, 0.1);
    panel->seek(-10, 100);
    panel->endScrub();
    EXPECT_TRUE(panel->timeline().isPlaying());
    EXPECT_EQ(panel->player()->playbackState(), QMediaPlayer::PlayingState);
}

TEST_F(VideoPlayerPanelTest, AVideoThatCannotBeMadePlayableFailsWithItsLogLine)
{
    const QString path = makeTextFile(folder.filePath(QStringLiteral("broken.mov")));
    SystemLog::Capture log;
    VideoPlayerPanel *panel = makePanel(path);
    ASSERT_TRUE(waitForPhase(panel, VideoPlayerPanel::Phase::failed));
    EXPECT_EQ(panel->failureMessage(), QStringLiteral("This video can't play right now"));
    EXPECT_FALSE(panel->info());
    EXPECT_FALSE(panel->player());
    EXPECT_NEAR(panel->panelRect().width() / panel->panelRect().height(), 1.6, 0.01);
    EXPECT_FALSE(panel->shortcuts()->isEnabled(QStringLiteral("PlayPause")));
    const QStringList lines = log.lines().filter(QStringLiteral("[VideoPlayerPanel]"));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.first().startsWith(QStringLiteral("[VideoPlayerPanel] playable URL FAILED for broken.mov: ")));
    saveGallery(window, QStringLiteral("video-failed.png"));
}

TEST_F(VideoPlayerPanelTest, AnotherVideoEndsThePreviousPlayerAndALateResultIsDropped)
{
    const QString first = makeVideo(folder.filePath(QStringLiteral("a.mov")), {.seconds = 2.0});
    const QString second = makeVideo(folder.filePath(QStringLiteral("b.avi")), {.format = VideoFormat::aviMjpeg});
    VideoPlayerPanel *panel = makePanel(first);
    ASSERT_TRUE(waitForPhase(panel, VideoPlayerPanel::Phase::playing));
    QPointer<QMediaPlayer> previous = panel->player();

    panel->setItem(videoItem(second));
    EXPECT_FALSE(previous);
    EXPECT_EQ(panel->phase(), VideoPlayerPanel::Phase::idle);
    EXPECT_FALSE(panel->timeline().isPlaying());
    ASSERT_TRUE(waitForPhase(panel, VideoPlayerPanel::Phase::playing));
    EXPECT_EQ(panel->player()->source().fileName(), QStringLiteral("b.avi"));

    // Gone while preparing: its results arrive to nobody.
    panel->setItem(videoItem(first));
    delete panel;
    QCoreApplication::processEvents();
    SUCCEED();
}

TEST_F(VideoPlayerPanelTest, APlayerThatNeverShowsAFrameIsReplacedOnceThenTheFailureBoxShows)
{
    const QString path = makeVideo(folder.filePath(QStringLiteral("stuck.mov")));
    SteppedTime time;
    QList<QPointer<FramelessPlayer>> players;
    SystemLog::Capture log;
    auto panel = makeStandInPanel(path, time, [&](QObject *parent) {
        players.append(new FramelessPlayer(parent));
        return players.last();
    });

    // The limit counts from the load: up to it the first player is waited for.
    ASSERT_TRUE(settled(players, 1));
    time.step(FirstFrameWait::limit - 16ms);
    EXPECT_EQ(panel->phase(), VideoPlayerPanel::Phase::preparing);
    EXPECT_EQ(players.size(), 1);

    // Its error in the same turn as its wait runs out is not its replacement's failure.
    Q_EMIT players.first()->errorOccurred(QStringLiteral("stuck player's error"));
    time.step(32ms);
    EXPECT_FALSE(players.first());
    ASSERT_TRUE(settled(players, 2));
    ASSERT_TRUE(players.last());
    EXPECT_EQ(panel->phase(), VideoPlayerPanel::Phase::preparing);

    time.step(FirstFrameWait::limit + 16ms);
    ASSERT_TRUE(spinUntil([&] { return panel->phase() == VideoPlayerPanel::Phase::failed; }));
    EXPECT_EQ(players.size(), 2);
    EXPECT_FALSE(players.last());
    EXPECT_EQ(panel->failureMessage(), QStringLiteral("This video can't play right now"));
    EXPECT_FALSE(panel->shortcuts()->isEnabled(QStringLiteral("PlayPause")));
    const QStringList lines = log.lines().filter(QStringLiteral("[VideoPlayerPanel]"));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("[VideoPlayerPanel] no picture for stuck.mov: ")));
}

TEST_F(VideoPlayerPanelTest, APictureLateBehindRunningSoundHoldsTheSoundThenPlaysFromTheStartOrFailsInTime)
{
    const QString path = makeVideo(folder.filePath(QStringLiteral("late.mov")));
    const auto grace = std::chrono::milliseconds(qint64(PlayerTimeline::pictureGrace * 1000)) + 16ms;
    SteppedTime time;
    QList<QPointer<FramelessPlayer>> players;
    auto open = [&] {
        players.clear();
        return makeStandInPanel(path, time, [&](QObject *parent) {
            players.append(new FramelessPlayer(parent, &time.clock));
            return players.last();
        });
    };
    // The time observer's next look finds the clock past the grace.
    auto held = [&] {
        return spinUntil([&] {
            return !players.last() || players.last()->playbackState() == QMediaPlayer::PausedState;
        }) && players.last() && players.last()->position() == 0;
    };

    // Its first frame comes at 6 s: the sound waits at the start, then plays with it.
    auto panel = open();
    ASSERT_TRUE(settled(players, 1));
    time.step(grace);
    ASSERT_TRUE(held());
    EXPECT_EQ(panel->phase(), VideoPlayerPanel::Phase::preparing);
    time.step(6s - grace);
    EXPECT_EQ(players.first()->position(), 0);
    players.first()->showFirstFrame();
    ASSERT_TRUE(spinUntil([&] { return panel->phase() != VideoPlayerPanel::Phase::preparing; }));
    EXPECT_EQ(panel->phase(), VideoPlayerPanel::Phase::playing);
    EXPECT_EQ(players.first()->playbackState(), QMediaPlayer::PlayingState);
    EXPECT_EQ(panel->timeline().currentTime(), 0);
    time.step(FirstFrameWait::limit);
    EXPECT_EQ(players.size(), 1);
    EXPECT_EQ(panel->phase(), VideoPlayerPanel::Phase::playing);

    // No frame ever: held on each player, and the failure box once the second's wait runs out.
    panel = open();
    ASSERT_TRUE(settled(players, 1));
    time.step(grace);
    ASSERT_TRUE(held());
    time.step(FirstFrameWait::limit - grace);
    ASSERT_TRUE(settled(players, 2));
    time.step(grace);
    ASSERT_TRUE(held());
    EXPECT_EQ(panel->phase(), VideoPlayerPanel::Phase::preparing);
    time.step(FirstFrameWait::limit - grace);
    ASSERT_TRUE(spinUntil([&] { return panel->phase() == VideoPlayerPanel::Phase::failed; }));
    EXPECT_FALSE(players.last());
    EXPECT_EQ(panel->failureMessage(), QStringLiteral("This video can't play right now"));
}

} // namespace
} // namespace pomelark
