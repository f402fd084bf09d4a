#pragma once

#include "browsing/VideoFrameConverter.h"
#include "platform/PictureShape.h"

#include <QImage>
#include <QMediaPlayer>
#include <QPointer>
#include <QVideoFrame>
#include <QWidget>

#include <functional>

class QVideoSink;

namespace pomelark {

/// The picture of a media player, painted by this widget from its own video sink
/// (no native child window), fitted inside its bounds at the video's aspect.
/// Frames are converted here, at the size they are painted at in device
/// pixels, never by Qt (see VideoFrameConverter); a frame we cannot convert
/// leaves the picture black. The player hands over frames as stored: they are
/// turned and given their pixels' shape here, as the owner says.
///
/// Once the first frame of a player can be shown it calls `onReadyForDisplay`,
/// always later on the main thread and never after the widget is gone; a new
/// player reports again, so the owner must accept repeated calls. It takes no
/// clicks: its owner decides what a click on the picture does.
class VideoPlayerView : public QWidget {
    Q_OBJECT
public:
    struct Inputs {
        QMediaPlayer *player = nullptr;           ///< the player to show; none shows nothing
        std::function<void()> onReadyForDisplay; ///< the first frame can be shown
        PictureShape shape;                       ///< how the player's frames are seen
    };

    explicit VideoPlayerView(Inputs inputs, QWidget *parent = nullptr);
    ~VideoPlayerView() override;

    /// Shows `player`'s picture in `shape`. The player already shown keeps its
    /// frames; another one is taken over, and the previous one no longer sends
    /// its frames here.
    void setPlayer(QMediaPlayer *player, PictureShape shape = {});
    QMediaPlayer *player() const { return m_player; }

    /// Replaces the readiness callback (kept for the current player).
    void setOnReadyForDisplay(std::function<void()> callback) { m_onReadyForDisplay = std::move(callback); }

    /// Whether a frame of the current player has arrived.
    bool isReadyForDisplay() const { return m_frame.isValid(); }
    /// The latest frame as it is seen, turned and in its pixels' shape, as many
    /// rows tall as stored; null before the first and for a frame that cannot
    /// be converted.
    QImage currentImage();
    /// Where the picture is drawn: the frame's shape as seen, fitted into the widget.
    QRectF pictureRect() const;

    /// Rounds the picture's corners to the panel it sits in.
    void setCornerRadius(qreal radius);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void frameArrived(const QVideoFrame &frame);

    QVideoSink *m_sink = nullptr;
    QPointer<QMediaPlayer> m_player;
    QVideoFrame m_frame;
    PictureShape m_shape;
    VideoFrameConverter m_converter;
    QImage m_picture;          ///< m_frame converted at the size last painted
    QVideoFrame m_pictureFrame; ///< the frame m_picture was made from
    std::function<void()> m_onReadyForDisplay;
    qreal m_cornerRadius = 0;
};

} // namespace pomelark
