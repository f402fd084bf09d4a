#include "browsing/PanelPlayer.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>

namespace pomelark {
namespace {

class QtPanelPlayer : public PanelPlayer {
public:
    explicit QtPanelPlayer(QObject *parent) : PanelPlayer(parent), m_player(new QMediaPlayer(this))
    {
        // Qt 6.4's ffmpeg backend crashes with an audio output and no sound device.
        if (!QMediaDevices::audioOutputs().isEmpty())
            m_player->setAudioOutput(new QAudioOutput(m_player));
        connect(m_player, &QMediaPlayer::mediaStatusChanged, this, &PanelPlayer::mediaStatusChanged);
        connect(m_player, &QMediaPlayer::errorOccurred, this,
                [this](QMediaPlayer::Error, const QString &message) { Q_EMIT errorOccurred(message); });
    }

    void setSource(const QUrl &source) override { m_player->setSource(source); }
    void play() override { m_player->play(); }
    void pause() override { m_player->pause(); }
    void stop() override { m_player->stop(); }
    void setPosition(qint64 milliseconds) override { m_player->setPosition(milliseconds); }
    qint64 position() const override { return m_player->position(); }
    QMediaPlayer::MediaStatus mediaStatus() const override { return m_player->mediaStatus(); }
    QMediaPlayer::PlaybackState playbackState() const override { return m_player->playbackState(); }
    bool hasVideo() const override { return m_player->hasVideo(); }
    QMediaPlayer *mediaPlayer() const override { return m_player; }

private:
    QMediaPlayer *m_player;
};

} // namespace

PanelPlayer *PanelPlayer::makeQt(QObject *parent)
{
    return new QtPanelPlayer(parent);
}

} // namespace pomelark
