#pragma once

#include "platform/MediaProbe.h"
#include "platform/SerialExecutor.h"
#include "platform/SharedOutcome.h"
#include "services/FFmpegRunner.h"

#include <QHash>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace pomelark {

/// The source video's attributes carry no modification time, so no cache key.
struct PlaybackError : std::exception {
    const char *what() const noexcept override { return "file unreadable"; }
};

/// A request for a playable copy was withdrawn before it waited on a conversion.
struct PlaybackWithdrawn : std::exception {
    const char *what() const noexcept override { return "request withdrawn"; }
};

/// One caller's request for a playable copy, which that caller may withdraw at
/// any point. What withdrawing does is up to the side serving the request, which
/// says so through `setOnWithdraw`. Main thread only.
class PlaybackRequest {
public:
    void withdraw()
    {
        if (m_withdrawn)
            return;
        m_withdrawn = true;
        if (const std::function<void()> onWithdraw = std::exchange(m_onWithdraw, {}))
            onWithdraw();
    }
    bool isWithdrawn() const { return m_withdrawn; }

    /// What a later `withdraw()` does, replacing what was set before.
    void setOnWithdraw(std::function<void()> onWithdraw) { m_onWithdraw = std::move(onWithdraw); }

private:
    bool m_withdrawn = false;
    std::function<void()> m_onWithdraw;
};

/// What the prewarmer needs of the playable-video cache (a fake in tests).
class PlaybackPreparation {
public:
    enum class QuickCheckResult { alreadyPlayable, needsTranscode };

    virtual ~PlaybackPreparation() = default;
    virtual QCoro::Task<QuickCheckResult> quickCheck(QUrl source) = 0;
    /// As PlaybackService::playableURL, for a request its caller may withdraw.
    virtual QCoro::Task<QUrl> playableURL(QUrl source, std::shared_ptr<PlaybackRequest> request) = 0;
};

/// Turns a video into something our player plays well: the file itself when it
/// can, otherwise an HEVC copy kept in the "video-playback" working folder under
/// the video's cache key. A copy is written as key.mov.partial and moved to
/// key.mov in one step, so a .mov file is always whole.
///
/// State lives on the main thread. At most one conversion per source runs in the
/// whole process: a second request for the same source joins the first.
class PlaybackService : public PlaybackPreparation {
public:
    /// Whether our player plays the file at `path` as it is. Runs on the
    /// service's executor; the default asks MediaProbe.
    using PlayabilityTest = std::function<bool(const QString &path)>;

    explicit PlaybackService(QString cacheDir, FFmpegRunner &runner = FFmpegRunner::shared(),
                             PlayabilityTest isPlayable = {});

    /// The service the app uses, over the working folder "video-playback".
    static PlaybackService &shared();

    const QString &cacheDir() const { return m_cacheDir; }

    /// The source itself when it plays as it is, else its converted copy, made
    /// now if missing (joining a conversion already under way). Throws
    /// PlaybackError when no cache key can be made, FFmpegError when the
    /// conversion fails, and a file error when the copy cannot be moved into place.
    QCoro::Task<QUrl> playableURL(QUrl source);

    /// The same, for a request its caller may withdraw. Withdrawn while the
    /// source is still probed or its copy looked up, the request fails at once
    /// with PlaybackWithdrawn, and no conversion is started or joined for it.
    /// Withdrawn while it waits on a conversion no one else waits for, that
    /// conversion is ended: the request fails with FFmpegError and the partial
    /// file is removed. A conversion someone else waits for (the viewer) runs on,
    /// and the request goes on waiting for it.
    QCoro::Task<QUrl> playableURL(QUrl source, std::shared_ptr<PlaybackRequest> request) override;

    /// The picture our player shows of `playable`, as playableURL gave it (the
    /// source or its copy, which ffmpeg wrote upright): its first video track,
    /// whose shape the player itself ignores. Nothing when the file cannot be
    /// opened or holds no picture.
    QCoro::Task<std::optional<MediaTrack>> pictureTrack(QUrl playable);

    /// Whether the source plays now (as it is or through a finished copy).
    /// A conversion under way counts as needsTranscode. Never fails.
    QCoro::Task<QuickCheckResult> quickCheck(QUrl source) override;

    bool isConverting(const QUrl &source) const { return m_inFlight.contains(source); }
    qsizetype conversionsInFlight() const { return m_inFlight.size(); }

private:
    struct Conversion {
        SharedOutcome<QUrl> outcome;
        int waiters = 0;
        std::shared_ptr<FFmpegStopper> stopper = std::make_shared<FFmpegStopper>();
    };

    /// The work of playableURL, whose result the request's answer takes unless
    /// the request was withdrawn first.
    QCoro::Task<QUrl> serve(QUrl source, std::shared_ptr<PlaybackRequest> request);
    static QCoro::Task<void> relay(QCoro::Task<QUrl> work, std::shared_ptr<SharedOutcome<QUrl>> answer);
    QCoro::Task<bool> playable(QString path);
    QCoro::Task<std::optional<QString>> destinationFor(QString path);
    QCoro::Task<void> convert(std::shared_ptr<Conversion> conversion, QUrl source, QUrl destination);
    /// Converts into destination.partial, then moves it to `destination`.
    QCoro::Task<QUrl> transcode(QUrl source, QUrl destination, std::shared_ptr<FFmpegStopper> stopper);

    QString m_cacheDir;
    FFmpegRunner &m_runner;
    PlayabilityTest m_isPlayable;
    QHash<QUrl, std::shared_ptr<Conversion>> m_inFlight;
    SerialExecutor m_executor{QStringLiteral("PlaybackService")};
};

} // namespace pomelark
