#pragma once

#include "browsing/FirstFrameWait.h"
#include "browsing/PanelPlayer.h"
#include "browsing/PlayerTimeline.h"
#include "browsing/VideoPanelChrome.h"
#include "look/AnimatedValue.h"
#include "platform/PictureShape.h"
#include "services/MediaItem.h"
#include "services/VideoInfo.h"

#include <QMediaPlayer>
#include <QPointer>
#include <QWidget>

#include <qcoro/qcorotask.h>

#include <optional>

class QTimer;

namespace pomelark {

class HiddenShortcuts;
class ShadowUnderlay;
class VideoPlayerView;

/// The video half of the viewer. It fetches the video's poster and length, asks
/// the playback service for a file the player plays (which may first be made by
/// converting, and take a while), and starts playing by itself once the first
/// frame can be shown. Before that it shows the play badge with the file name,
/// then a spinner with "Preparing..."; when no playable file can be had, or the
/// player shows no picture of it (no first frame within FirstFrameWait's limit
/// after loading, also from a second player), it logs why and shows "This
/// video can't play right now" over the poster. A player that runs
/// PlayerTimeline::pictureGrace into the video without a picture waits at the
/// start, silent, for its first frame. While playing, a control bar offers
/// play/pause, a scrubber and the time.
///
/// The panel takes the poster's shape (1.6 : 1 without one), as large as fits,
/// and the picture's own shape once the file to play has been read: the
/// poster, though upright, has its pixels square.
/// Clicks outside it are left to whatever lies behind. It changes nothing
/// outside itself.
class VideoPlayerPanel : public QWidget {
    Q_OBJECT
public:
    struct Inputs {
        MediaItem item;                   ///< the video (only its file is used)
        bool spaceTogglesPlayback = true; ///< the space bar plays and pauses
    };

    using Phase = VideoPanelPhase;

    static constexpr qreal cornerRadius = 12;
    static constexpr int timeObserverIntervalMs = 200;

    /// `makePlayer` makes the panel's players; none means Qt's.
    explicit VideoPlayerPanel(Inputs inputs, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared(),
                              PanelPlayer::Maker makePlayer = {});
    ~VideoPlayerPanel() override;

    /// Shows another video: a new file stops the player and prepares afresh;
    /// the same file changes nothing.
    void setItem(const MediaItem &item);
    /// The panel is on its way out: the sound stops now rather than when the
    /// panel is deleted, and nothing still under way starts it again. The
    /// picture on screen stays.
    void finish();
    void setSpaceTogglesPlayback(bool enabled);

    const MediaItem &item() const { return m_inputs.item; }
    Phase phase() const { return m_phase; }
    QString failureMessage() const { return m_failureMessage; }
    const std::optional<VideoInfo> &info() const { return m_info; }
    const PlayerTimeline &timeline() const { return m_timeline; }
    /// Qt's player while there is one (a stand-in player's, if it has one).
    QMediaPlayer *player() const { return m_player ? m_player->mediaPlayer() : nullptr; }
    bool isVideoSurfaceReady() const { return m_surfaceReady; }
    VideoPanelChrome *chrome() const { return m_chrome; }
    HiddenShortcuts *shortcuts() const { return m_shortcuts; }

    /// Where the panel lies in this widget.
    QRectF panelRect() const;

    /// Play or pause (also restarting from the beginning at the end); only once
    /// the picture shows.
    void togglePlayback();
    /// One step of a scrubber drag at `x` on a scrubber `width` wide.
    void seek(double x, double width);
    /// The scrubber drag ended; playback resumes when it ran before.
    void endScrub();

Q_SIGNALS:
    /// The phase, the player or what the chrome shows changed.
    void stateChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    static QCoro::Task<void> prepare(QPointer<VideoPlayerPanel> self, quint64 generation, QUrl url);
    void startPreparing();
    void teardown();
    void createPlayer(const QUrl &playable, PictureShape shape);
    void firstFrameOverdue(FirstFrameWait::Overdue overdue);
    void surfaceBecameReady();
    void playerStatusChanged(QMediaPlayer::MediaStatus status);
    void pictureLost(const QString &why);
    void handleTimeUpdate();
    void holdSound();
    void setPhase(Phase phase);
    void refresh();
    void layoutPanel();
    QString fileName() const;

    Inputs m_inputs;
    std::optional<VideoInfo> m_info;
    std::optional<QSize> m_pictureSize; ///< the playing file's picture as seen
    Phase m_phase = Phase::idle;
    QString m_failureMessage;
    PanelPlayer::Maker m_makePlayer;
    PanelPlayer *m_player = nullptr;
    QUrl m_playable;       ///< what the player plays, for a new player
    PictureShape m_shape;  ///< how its frames are seen
    FirstFrameWait m_firstFrameWait;
    QTimer *m_timeObserver = nullptr;
    bool m_surfaceReady = false;
    bool m_soundHeld = false; ///< the player ran on without a picture and waits at the start
    PlayerTimeline m_timeline;
    quint64 m_generation = 0;
    AnimatedValue m_playingFade;

    VideoPlayerView *m_surface = nullptr;
    VideoPanelChrome *m_chrome = nullptr;
    HiddenShortcuts *m_shortcuts = nullptr;
    QPointer<ShadowUnderlay> m_shadow;
};

} // namespace pomelark
