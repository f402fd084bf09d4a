#pragma once

#include <QMediaPlayer>
#include <QObject>
#include <QUrl>

#include <functional>

namespace pomelark {

/// A media player as the video panel drives it: Qt's player, with sound when
/// the machine has a sound device, or a stand-in that tests hand the panel to
/// play what a real player does only rarely (a first frame that never comes).
class PanelPlayer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    /// Makes a player owned by `parent`.
    using Maker = std::function<PanelPlayer *(QObject *parent)>;
    /// Qt's media player.
    static PanelPlayer *makeQt(QObject *parent);

    virtual void setSource(const QUrl &source) = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void setPosition(qint64 milliseconds) = 0;
    virtual qint64 position() const = 0;
    virtual QMediaPlayer::MediaStatus mediaStatus() const = 0;
    virtual QMediaPlayer::PlaybackState playbackState() const = 0;
    virtual bool hasVideo() const = 0;
    /// Qt's player, whose frames the video surface shows; a stand-in has none,
    /// or one without a source through which it hands the surface its frames.
    virtual QMediaPlayer *mediaPlayer() const = 0;

Q_SIGNALS:
    void mediaStatusChanged(QMediaPlayer::MediaStatus status);
    void errorOccurred(const QString &message);
};

} // namespace pomelark
