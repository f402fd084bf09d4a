#include "services/ThumbnailService.h"

#include "platform/ImageSource.h"
#include "services/CacheKey.h"
#include "services/WorkingFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <cstdio>
#include <exception>
#include <vector>

namespace pomelark {

namespace {

/// The poster at its full size, or covering a `cover` square when `cover` > 0.
QImage decodePoster(const QString &path, int cover)
{
    const ImageSource poster(path);
    return cover > 0 ? poster.decodeCovering(cover, false) : poster.decodeFull(false);
}

/// Trims spaces and tabs but not line ends.
QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == QLatin1Char(' ') || text[begin] == QLatin1Char('\t')))
        ++begin;
    while (end > begin && (text[end - 1] == QLatin1Char(' ') || text[end - 1] == QLatin1Char('\t')))
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace

struct ThumbnailService::PrewarmRun {
    MediaItems items;
    std::function<void(int, int)> progress;
    int next = 0;
    int done = 0;
};

ThumbnailService::ThumbnailService(QString cacheDir, FFmpegRunner &runner)
    : m_runner(runner), m_cacheDir(std::move(cacheDir))
{
    QDir().mkpath(m_cacheDir);
}

ThumbnailService &ThumbnailService::shared()
{
    static ThumbnailService service(WorkingFolders::standard().videoThumbnails());
    return service;
}

QCoro::Task<ThumbnailService::Entry> ThumbnailService::entryFor(QString videoPath)
{
    const std::optional<QString> key = co_await m_executor.run([videoPath] { return CacheKey::of(videoPath); });
    if (!key)
        throw ThumbnailError(ThumbnailError::Kind::fileUnreadable);
    const QString base = m_cacheDir + QLatin1Char('/') + *key;
    co_return Entry{base + QStringLiteral(".jpg"), base + QStringLiteral(".info")};
}

QCoro::Task<QString> ThumbnailService::grabPoster(QString videoPath, QString posterPath)
{
    // ffmpeg picks the image format from the extension, so the temporary name
    // ends in .jpg too; the number keeps concurrent runs for one video apart.
    const QString temporary = posterPath.chopped(4) + QStringLiteral(".partial-")
        + QString::number(m_nextTemporary++) + QStringLiteral(".jpg");
    QString log;
    try {
        log = co_await m_runner.extractFrame(videoPath, temporary);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    co_await m_executor.run([temporary, posterPath] {
        // rename() replaces an older poster in one step; when it fails (the folder
        // was emptied meanwhile) the poster is simply missing.
        if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(posterPath).constData()) != 0)
            QFile::remove(temporary);
    });
    co_return log;
}

QCoro::Task<void> ThumbnailService::writeInfo(QString infoPath, QString log)
{
    const double duration = parseDuration(log).value_or(0.0);
    co_await m_executor.run([infoPath, duration] {
        QSaveFile file(infoPath);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(CacheKey::roundTripText(duration).toUtf8());
            file.commit();
        }
    });
}

QCoro::Task<VideoInfo> ThumbnailService::videoInfo(QUrl video, int posterCover)
{
    const QString videoPath = video.toLocalFile();
    const Entry entry = co_await entryFor(videoPath);
    std::optional<VideoInfo> cached =
        co_await m_executor.run([entry, posterCover] { return loadCached(entry.poster, entry.info, posterCover); });
    if (cached)
        co_return std::move(*cached);

    const QString log = co_await grabPoster(videoPath, entry.poster);
    QImage poster =
        co_await m_executor.run([path = entry.poster, posterCover] { return decodePoster(path, posterCover); });
    if (poster.isNull())
        throw ThumbnailError(ThumbnailError::Kind::decodeFailed);
    co_await writeInfo(entry.info, log);
    co_return VideoInfo{std::move(poster), parseDuration(log).value_or(0.0)};
}

QCoro::Task<void> ThumbnailService::ensureCached(QUrl video)
{
    const QString videoPath = video.toLocalFile();
    const Entry entry = co_await entryFor(videoPath);
    const bool complete = co_await m_executor.run(
        [entry] { return QFileInfo::exists(entry.poster) && QFileInfo::exists(entry.info); });
    if (complete)
        co_return;
    const QString log = co_await grabPoster(videoPath, entry.poster);
    co_await writeInfo(entry.info, log);
}

QCoro::Task<void> ThumbnailService::prewarm(MediaItems items, std::function<void(int, int)> progress)
{
    PrewarmRun run{std::move(items), std::move(progress)};
    const int total = int(run.items.size());
    run.progress(0, total);
    // Each lane takes the next item as soon as its last one ends, so the window
    // slides: never more than prewarmWindow in work, started in list order.
    std::vector<QCoro::Task<void>> lanes;
    for (int i = 0; i < std::min(prewarmWindow, total); ++i)
        lanes.push_back(prewarmLane(run));
    // Every lane is awaited before `run` goes away, even if a progress callback threw.
    std::exception_ptr failure;
    for (QCoro::Task<void> &lane : lanes) {
        try {
            co_await lane;
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

QCoro::Task<void> ThumbnailService::prewarmLane(PrewarmRun &run)
{
    const int total = int(run.items.size());
    while (run.next < total) {
        const QUrl video = run.items[run.next++].url;
        try {
            co_await ensureCached(video);
        } catch (...) {
            // A video without a poster still counts; its tile shows the failure later.
        }
        run.progress(++run.done, total);
    }
}

std::optional<VideoInfo> ThumbnailService::loadCached(const QString &posterPath, const QString &infoPath,
                                                      int posterCover)
{
    if (!QFileInfo::exists(posterPath) || !QFileInfo::exists(infoPath))
        return std::nullopt;
    QImage poster = decodePoster(posterPath, posterCover);
    if (poster.isNull())
        return std::nullopt;
    QFile info(infoPath);
    if (!info.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(info.readAll());
    if (utf8.hasError())
        return std::nullopt;
    const std::optional<double> duration = CacheKey::parseDecimal(text.trimmed());
    if (!duration)
        return std::nullopt;
    return VideoInfo{std::move(poster), *duration};
}

std::optional<double> ThumbnailService::parseDuration(const QString &log)
{
    static const QLatin1String label("Duration:");
    for (const QStringView line : QStringView(log).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringView trimmed = trimBlanks(line);
        if (!trimmed.startsWith(label))
            continue;
        const QStringView rest = trimBlanks(trimmed.sliced(label.size()));
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        if (comma >= 0)
            return parseHMS(rest.first(comma).toString());
    }
    return std::nullopt;
}

std::optional<double> ThumbnailService::parseHMS(const QString &text)
{
    const QStringList pieces = text.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (pieces.size() != 3)
        return std::nullopt;
    double seconds = 0;
    for (const QString &piece : pieces) {
        const std::optional<double> value = CacheKey::parseDecimal(piece);
        if (!value)
            return std::nullopt;
        seconds = seconds * 60 + *value;
    }
    return seconds;
}

} // namespace pomelark
