#include "browsing/VideoPlayerPanel.h"

#include "browsing/AspectFit.h"
#include "browsing/VideoPlayerView.h"
#include "look/ContinuousShape.h"
#include "look/HiddenShortcuts.h"
#include "look/Palette.h"
#include "look/ShadowUnderlay.h"
#include "platform/SystemLog.h"
#include "services/FormatDuration.h"
#include "services/PlaybackService.h"
#include "services/ThumbnailService.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace pomelark {

VideoPlayerPanel::VideoPlayerPanel(Inputs inputs, QWidget *parent, FrameTicker &ticker, PanelPlayer::Maker makePlayer)
    : QWidget(parent), m_inputs(std::move(inputs)),
      m_makePlayer(makePlayer ? std::move(makePlayer) : PanelPlayer::Maker(&PanelPlayer::makeQt)),
      m_firstFrameWait(ticker, [this](FirstFrameWait::Overdue overdue) { firstFrameOverdue(overdue); }),
      m_playingFade(1.0, ticker)
{
    m_playingFade.setOnChange([this] { refresh(); });
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_surface = new VideoPlayerView({nullptr, [this] { surfaceBecameReady(); }}, this);
    m_surface->setCornerRadius(cornerRadius);
    m_surface->hide();
    m_chrome = new VideoPanelChrome({[this] { togglePlayback(); }, [this] { togglePlayback(); },
                                     [this](double x, double width) { seek(x, width); }, [this] { endScrub(); }},
                                    this, ticker);
    m_shortcuts = new HiddenShortcuts(this);
    m_shortcuts->add(QStringLiteral("PlayPause"), QKeySequence(Qt::Key_Space), [this] { togglePlayback(); });
    m_shadow = new ShadowUnderlay(this, [this] {
        return ShadowUnderlay::Cast{continuousRoundedRect(panelRect(), cornerRadius), {QColor(0, 0, 0, 128), 30, 0, 20}};
    });
    startPreparing();
}

VideoPlayerPanel::~VideoPlayerPanel()
{
    ++m_generation;
    teardown();
    delete m_shadow;
}

void VideoPlayerPanel::setItem(const MediaItem &item)
{
    const bool sameFile = item.url == m_inputs.item.url;
    m_inputs.item = item;
    if (!sameFile)
        startPreparing();
}

void VideoPlayerPanel::setSpaceTogglesPlayback(bool enabled)
{
    m_inputs.spaceTogglesPlayback = enabled;
    refresh();
}

QString VideoPlayerPanel::fileName() const
{
    return QFileInfo(m_inputs.item.url.toLocalFile()).fileName();
}

QRectF VideoPlayerPanel::panelRect() const
{
    if (m_pictureSize)
        return aspectFitted(QRectF(rect()), qreal(m_pictureSize->width()) / m_pictureSize->height());
    std::optional<QImage> poster;
    if (m_info)
        poster = m_info->thumbnail;
    return aspectFitted(QRectF(rect()), PlayerTimeline::aspectRatio(poster));
}

void VideoPlayerPanel::startPreparing()
{
    const quint64 generation = ++m_generation;
    teardown();
    m_firstFrameWait.reset();
    m_info.reset();
    m_pictureSize.reset();
    m_timeline.reset();
    m_surfaceReady = false;
    m_playingFade.setValue(1.0);
    m_failureMessage.clear();
    setPhase(Phase::idle);
    layoutPanel();
    // Runs on by itself; a newer generation or the panel's end makes it drop its results.
    prepare(this, generation, m_inputs.item.url);
}

QCoro::Task<void> VideoPlayerPanel::prepare(QPointer<VideoPlayerPanel> self, quint64 generation, QUrl url)
{
    auto current = [&] { return self && self->m_generation == generation; };

    std::optional<VideoInfo> info;
    try {
        info = co_await ThumbnailService::shared().videoInfo(url);
    } catch (...) {
        // No poster and no length: the placeholder stays, without a message.
    }
    if (!current())
        co_return;
    self->m_info = info;
    self->m_timeline.setDuration(info ? std::optional<double>(info->duration) : std::nullopt);
    self->layoutPanel();
    self->setPhase(Phase::preparing);

    QString failure;
    try {
        const QUrl playable = co_await PlaybackService::shared().playableURL(url);
        if (!current())
            co_return;
        // The player shows frames as stored: how they are turned and stretched
        // to be seen is read from the file it plays (a copy is already upright).
        const std::optional<MediaTrack> picture = co_await PlaybackService::shared().pictureTrack(playable);
        if (!current())
            co_return;
        const PictureShape shape = picture ? picture->shape : PictureShape{};
        if (picture && !picture->frameSize.isEmpty()) {
            self->m_pictureSize = shape.shownSize(picture->frameSize);
            self->layoutPanel();
        }
        self->createPlayer(playable, shape);
        co_return;
    } catch (const std::exception &error) {
        failure = QString::fromUtf8(error.what());
    } catch (...) {
        failure = QStringLiteral("unknown error");
    }
    if (!current())
        co_return;
    SystemLog::write(QStringLiteral("[VideoPlayerPanel] playable URL FAILED for ") + self->fileName()
                     + QStringLiteral(": ") + failure);
    self->m_failureMessage = tr("This video can't play right now");
    self->setPhase(Phase::failed);
}

void VideoPlayerPanel::createPlayer(const QUrl &playable, PictureShape shape)
{
    m_playable = playable;
    m_shape = shape;
    m_soundHeld = false;
    m_player = m_makePlayer(this);
    connect(m_player, &PanelPlayer::mediaStatusChanged, this, &VideoPlayerPanel::playerStatusChanged);
    connect(m_player, &PanelPlayer::errorOccurred, this, &VideoPlayerPanel::pictureLost);
    m_surface->setPlayer(m_player->mediaPlayer(), shape);
    m_surface->show();
    m_player->setSource(playable);

    m_timeObserver = new QTimer(this);
    m_timeObserver->setInterval(timeObserverIntervalMs);
    connect(m_timeObserver, &QTimer::timeout, this, &VideoPlayerPanel::handleTimeUpdate);
    m_timeObserver->start();
    // This backend decodes no frame before playback starts, so playing begins
    // now and the picture replaces the poster once its first frame is there.
    m_player->play();
    refresh();
}

void VideoPlayerPanel::playerStatusChanged(QMediaPlayer::MediaStatus status)
{
    switch (status) {
    case QMediaPlayer::LoadedMedia:
    case QMediaPlayer::BufferedMedia:
        if (!m_player->hasVideo())
            pictureLost(QStringLiteral("the file has no picture track"));
        else if (!m_surfaceReady)
            m_firstFrameWait.loaded();
        break;
    case QMediaPlayer::EndOfMedia:
        pictureLost(QStringLiteral("the player reached the end without a frame"));
        m_timeline.handleEnd();
        refresh();
        break;
    case QMediaPlayer::InvalidMedia:
        pictureLost(QStringLiteral("the player cannot read the file"));
        break;
    default:
        break;
    }
}

void VideoPlayerPanel::pictureLost(const QString &why)
{
    // This backend plays, sound and all, before any frame is decoded; with no
    // frame ever, the sound would go on behind "Preparing..." where nothing can
    // pause it. Once the picture shows, it is the player's to run.
    if (m_surfaceReady || !m_player)
        return;
    m_player->pause();
    // Carried out from the event loop: the player is still inside the signal that told us.
    // By then a new player may have replaced this one, in the same video; its
    // predecessor's failure is not its own.
    QMetaObject::invokeMethod(
        this,
        [this, generation = m_generation, player = QPointer<PanelPlayer>(m_player), why] {
            if (generation != m_generation || m_surfaceReady || !player || player != m_player)
                return;
            SystemLog::write(QStringLiteral("[VideoPlayerPanel] no picture for ") + fileName() + QStringLiteral(": ")
                             + why);
            teardown();
            m_failureMessage = tr("This video can't play right now");
            setPhase(Phase::failed);
        },
        Qt::QueuedConnection);
}

void VideoPlayerPanel::firstFrameOverdue(FirstFrameWait::Overdue overdue)
{
    if (m_surfaceReady || !m_player)
        return;
    const QString why = QStringLiteral("no first frame %1 s after loading").arg(FirstFrameWait::limit.count());
    if (overdue == FirstFrameWait::Overdue::giveUp) {
        pictureLost(why + QStringLiteral(", twice"));
        return;
    }
    // Qt's player stalls so once in a few hundred opens, and a new one has
    // always shown its first frame at once.
    SystemLog::write(QStringLiteral("[VideoPlayerPanel] ") + why + QStringLiteral(" for ") + fileName()
                     + QStringLiteral("; trying a new player"));
    teardown();
    createPlayer(m_playable, m_shape);
}

void VideoPlayerPanel::finish()
{
    // A playable file still being made starts no player, nor does a first frame
    // still on its way start this one again.
    ++m_generation;
    m_firstFrameWait.end();
    m_surface->setOnReadyForDisplay({});
    if (m_timeObserver)
        m_timeObserver->stop();
    if (m_player)
        m_player->stop();
}

void VideoPlayerPanel::teardown()
{
    m_firstFrameWait.end();
    if (m_timeObserver) {
        delete m_timeObserver;
        m_timeObserver = nullptr;
    }
    m_surface->setPlayer(nullptr);
    m_surface->hide();
    if (m_player) {
        m_player->stop();
        delete m_player;
        m_player = nullptr;
    }
}

void VideoPlayerPanel::surfaceBecameReady()
{
    if (m_surfaceReady || !m_player)
        return;
    m_surfaceReady = true;
    m_firstFrameWait.end();
    m_phase = Phase::playing;
    m_playingFade.setValue(0.0);
    m_playingFade.animateTo(1.0, Animation::easeOut(0.2));
    if (m_player->playbackState() != QMediaPlayer::PlayingState)
        m_player->play();
    m_timeline.startedPlaying();
    refresh();
}

void VideoPlayerPanel::handleTimeUpdate()
{
    if (!m_player)
        return;
    // A finished player may report its position as 0; the end is already known.
    if (m_player->mediaStatus() == QMediaPlayer::EndOfMedia)
        return;
    m_timeline.handleTimeUpdate(m_player->position() / 1000.0);
    if (m_timeline.pictureOverdue() && !m_soundHeld)
        holdSound();
    refresh();
}

void VideoPlayerPanel::holdSound()
{
    // On a busy machine, or a slow one decoding in software, the sound has run
    // many seconds ahead of a first frame that came and then played well.
    // Paused at the start it is silent behind "Preparing...", the player still
    // shows the frame it went back to once decoded (only paused, Qt's shows
    // none), and playing resumes from there; the first-frame wait bounds how
    // long that may take. Held once per
    // player: going back again would throw away the decoding under way.
    m_soundHeld = true;
    SystemLog::write(QStringLiteral("[VideoPlayerPanel] no frame after %1 s of playing %2; holding its sound at the start")
                         .arg(PlayerTimeline::pictureGrace)
                         .arg(fileName()));
    m_player->pause();
    m_player->setPosition(0);
    m_timeline.handleTimeUpdate(0);
    m_firstFrameWait.loaded();
}

void VideoPlayerPanel::togglePlayback()
{
    if (!m_player || m_phase != Phase::playing)
        return;
    switch (m_timeline.toggle()) {
    case PlayerTimeline::Toggle::pause:
        m_player->pause();
        break;
    case PlayerTimeline::Toggle::restartAndPlay:
        m_player->setPosition(0);
        m_player->play();
        break;
    case PlayerTimeline::Toggle::play:
        m_player->play();
        break;
    }
    refresh();
}

void VideoPlayerPanel::seek(double x, double width)
{
    if (!m_player)
        return;
    const auto step = m_timeline.scrub(x, width);
    if (!step)
        return;
    if (step->pauseFirst)
        m_player->pause();
    m_player->setPosition(qint64(step->seconds * 1000.0 + 0.5));
    refresh();
}

void VideoPlayerPanel::endScrub()
{
    if (m_timeline.endScrub() && m_player)
        m_player->play();
    refresh();
}

void VideoPlayerPanel::setPhase(Phase phase)
{
    m_phase = phase;
    refresh();
}

void VideoPlayerPanel::refresh()
{
    VideoPanelChrome::State state;
    state.phase = m_phase;
    state.fileName = fileName();
    state.failureMessage = m_failureMessage;
    if (m_info)
        state.durationText = formatDuration(m_info->duration);
    state.isPlaying = m_timeline.isPlaying();
    state.progress = m_timeline.progress();
    state.timeText = m_timeline.timeText();
    state.hasSurface = m_player != nullptr;
    state.playingFade = m_playingFade.value();
    m_chrome->setState(state);
    m_shortcuts->setEnabled(QStringLiteral("PlayPause"), m_player && m_inputs.spaceTogglesPlayback);
    update();
    Q_EMIT stateChanged();
}

void VideoPlayerPanel::layoutPanel()
{
    const QRect panel = panelRect().toRect();
    m_surface->setGeometry(panel);
    m_chrome->setGeometry(panel);
    if (m_shadow)
        m_shadow->refresh();
    update();
}

void VideoPlayerPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPanel();
}

void VideoPlayerPanel::mousePressEvent(QMouseEvent *event)
{
    // Only room outside the panel reaches here; it belongs to what lies behind.
    event->ignore();
}

void VideoPlayerPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF panel = panelRect();
    const QPainterPath shape = continuousRoundedRect(panel, cornerRadius);
    if (m_phase == Phase::playing && m_surfaceReady) {
        painter.fillPath(shape, Qt::black);
        if (m_playingFade.value() >= 1.0)
            return;
        painter.setOpacity(1.0 - m_playingFade.value());
    }
    if (m_info && !m_info->thumbnail.isNull()) {
        painter.setClipPath(shape);
        const QSizeF poster = m_info->thumbnail.size();
        // In the picture's own shape, once known, the poster fills the panel.
        painter.drawImage(m_pictureSize ? panel : aspectFitted(panel, poster.width() / poster.height()),
                          m_info->thumbnail);
        return;
    }
    QColor fill = Palette::accentSoft();
    fill.setAlphaF(0.25);
    painter.fillPath(shape, fill);
    painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, 0.1f), 1));
    painter.drawPath(continuousRoundedRect(panel.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius));
}

} // namespace pomelark
