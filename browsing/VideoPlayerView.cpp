#include "browsing/VideoPlayerView.h"

#include "look/ContinuousShape.h"

#include <QMediaPlayer>
#include <QPainter>
#include <QVideoSink>

namespace pomelark {

VideoPlayerView::VideoPlayerView(Inputs inputs, QWidget *parent)
    : QWidget(parent), m_onReadyForDisplay(std::move(inputs.onReadyForDisplay))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_sink = new QVideoSink(this);
    // The backend may deliver from its own thread; the context queues it to ours.
    connect(m_sink, &QVideoSink::videoFrameChanged, this, &VideoPlayerView::frameArrived);
    setPlayer(inputs.player, inputs.shape);
}

VideoPlayerView::~VideoPlayerView()
{
    setPlayer(nullptr);
}

void VideoPlayerView::setPlayer(QMediaPlayer *player, PictureShape shape)
{
    if (shape != m_shape) {
        m_shape = shape;
        m_pictureFrame = QVideoFrame(); // painted anew in its new shape
        update();
    }
    if (player == m_player)
        return;
    if (m_player && m_player->videoSink() == m_sink)
        m_player->setVideoSink(nullptr);
    m_player = player;
    m_frame = QVideoFrame();
    m_pictureFrame = QVideoFrame();
    m_picture = QImage();
    if (m_player)
        m_player->setVideoSink(m_sink);
    update();
}

void VideoPlayerView::frameArrived(const QVideoFrame &frame)
{
    if (!frame.isValid() || !m_player)
        return;
    const bool first = !m_frame.isValid();
    m_frame = frame;
    update();
    if (!first)
        return;
    // Later, not from inside the sink's signal, so the owner may replace the player.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_onReadyForDisplay)
                m_onReadyForDisplay();
        },
        Qt::QueuedConnection);
}

QImage VideoPlayerView::currentImage()
{
    return m_converter.convert(m_frame, m_shape.shownSize(m_frame.size()), m_shape);
}

QRectF VideoPlayerView::pictureRect() const
{
    if (!m_frame.isValid())
        return {};
    QSizeF size = m_shape.shownSize(m_frame.size());
    size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
    QRectF picture(QPointF(), size);
    picture.moveCenter(QRectF(rect()).center());
    return picture;
}

void VideoPlayerView::setCornerRadius(qreal radius)
{
    m_cornerRadius = radius;
    update();
}

void VideoPlayerView::paintEvent(QPaintEvent *)
{
    if (!m_frame.isValid())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_cornerRadius > 0)
        painter.setClipPath(continuousRoundedRect(QRectF(rect()), m_cornerRadius));
    const QRectF target = pictureRect();
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (target.size() * ratio).toSize();
    // A repaint of the same frame (the controls fading over it) reuses its picture.
    if (m_pictureFrame != m_frame || m_picture.size() != pixels) {
        m_picture = m_converter.convert(m_frame, pixels, m_shape);
        m_picture.setDevicePixelRatio(ratio);
        m_pictureFrame = m_frame;
    }
    if (m_picture.isNull())
        painter.fillRect(target, Qt::black);
    else
        painter.drawImage(target, m_picture);
}

} // namespace pomelark
