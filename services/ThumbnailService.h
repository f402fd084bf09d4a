#pragma once

#include "platform/SerialExecutor.h"
#include "services/FFmpegRunner.h"
#include "services/MediaItem.h"
#include "services/ThumbnailError.h"
#include "services/VideoInfo.h"

#include <QString>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <functional>
#include <optional>

namespace pomelark {

/// Video posters and lengths, kept on disk by the video's cache key.
///
/// One ffmpeg frame grab gives both: the poster JPEG (key.jpg) and a log whose
/// "Duration:" line gives the length, kept as decimal text in key.info. An entry
/// with both files is complete, so an unchanged video costs no second run. The
/// service's state lives on the main thread; file work runs on its own serial
/// executor and ffmpeg runs are awaited, so several may run at once. Nothing in
/// the folder is deleted here; the working-folder cleanup empties it.
class ThumbnailService {
public:
    /// Posters of one preparation run at most this many at a time.
    static constexpr int prewarmWindow = 4;

    /// Keeps its files in `cacheDir`, made now if missing (a failure to make it
    /// is ignored; later writes then fail).
    explicit ThumbnailService(QString cacheDir, FFmpegRunner &runner = FFmpegRunner::shared());

    /// The service the app uses, over the working folder "video-thumbnails".
    static ThumbnailService &shared();

    const QString &cacheDir() const { return m_cacheDir; }

    /// The video's poster and length, from the cache or from a new ffmpeg run.
    /// With `posterCover` > 0 the poster is decoded only large enough to cover
    /// a square of that many pixels (its shorter side at that size, never
    /// enlarged): a grid of 4K videos then holds small pictures, not whole
    /// frames. The poster file keeps the whole frame either way.
    /// Throws ThumbnailError::fileUnreadable when the video's attributes cannot
    /// be read, FFmpegError when the run fails (no .info is written then), and
    /// ThumbnailError::decodeFailed when the poster does not decode.
    QCoro::Task<VideoInfo> videoInfo(QUrl video, int posterCover = 0);

    /// Makes sure both cache files of the video exist, without decoding or
    /// reading a complete entry. Throws as videoInfo, except that a poster that
    /// does not decode goes unnoticed.
    QCoro::Task<void> ensureCached(QUrl video);

    /// Prepares every item, at most prewarmWindow at a time, started in list
    /// order. Reports (0, total) first, then (done, total) once per item as it
    /// ends, failed or not, on the main thread. Never fails.
    QCoro::Task<void> prewarm(MediaItems items, std::function<void(int done, int total)> progress);

    /// The cached entry when the poster decodes and the .info holds exactly one
    /// number (blanks around it allowed); none otherwise, so a damaged entry is
    /// simply made again. `posterCover` as for videoInfo().
    static std::optional<VideoInfo> loadCached(const QString &posterPath, const QString &infoPath,
                                               int posterCover = 0);

    /// The length from the first "Duration:" line that has a comma; none when
    /// there is none or its time is not hours:minutes:seconds (such as N/A).
    static std::optional<double> parseDuration(const QString &log);

    /// Seconds from "h:m:s" (pieces decimal numbers, empty pieces dropped); none
    /// unless there are exactly three pieces that all parse.
    static std::optional<double> parseHMS(const QString &text);

private:
    struct Entry {
        QString poster;
        QString info;
    };
    struct PrewarmRun;

    QCoro::Task<Entry> entryFor(QString videoPath);
    /// Runs the frame grab into a temporary .jpg and moves it into place, so a
    /// half-written poster never carries the final name. Returns ffmpeg's log.
    QCoro::Task<QString> grabPoster(QString videoPath, QString posterPath);
    QCoro::Task<void> writeInfo(QString infoPath, QString log);
    QCoro::Task<void> prewarmLane(PrewarmRun &run);

    FFmpegRunner &m_runner;
    QString m_cacheDir;
    quint64 m_nextTemporary = 0;
    SerialExecutor m_executor{QStringLiteral("ThumbnailService")};
};

} // namespace pomelark
