#include "services/PlaybackService.h"

#include "platform/MediaProbe.h"
#include "services/CacheKey.h"
#include "services/WorkingFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

#include <cstdio>

namespace pomelark {

namespace {

bool probeSaysPlayable(const QString &path)
{
    const std::optional<MediaInfo> info = MediaProbe::probeForPlayback(path);
    return info && info->isPlayable();
}

/// The move into place failed; carries the system's reason.
struct MoveError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace

PlaybackService::PlaybackService(QString cacheDir, FFmpegRunner &runner, PlayabilityTest isPlayable)
    : m_cacheDir(QDir::cleanPath(cacheDir)), m_runner(runner),
      m_isPlayable(isPlayable ? std::move(isPlayable) : PlayabilityTest(probeSaysPlayable))
{
    QDir().mkpath(m_cacheDir);
}

PlaybackService &PlaybackService::shared()
{
    static PlaybackService instance(WorkingFolders::standard().videoPlayback());
    return instance;
}

QCoro::Task<bool> PlaybackService::playable(QString path)
{
    const PlayabilityTest test = m_isPlayable;
    auto check = [test, path] {
        try {
            return test(path);
        } catch (...) {
            return false; // a test that cannot tell means "convert it"
        }
    };
    co_return co_await m_executor.run(check);
}

QCoro::Task<std::optional<QString>> PlaybackService::destinationFor(QString path)
{
    const QString cacheDir = m_cacheDir;
    auto destination = [cacheDir, path]() -> std::optional<QString> {
        const std::optional<QString> key = CacheKey::of(path);
        if (!key)
            return std::nullopt;
        return cacheDir + QLatin1Char('/') + *key + QStringLiteral(".mov");
    };
    co_return co_await m_executor.run(destination);
}

QCoro::Task<QUrl> PlaybackService::playableURL(QUrl source)
{
    return serve(std::move(source), std::make_shared<PlaybackRequest>());
}

QCoro::Task<QUrl> PlaybackService::playableURL(QUrl source, std::shared_ptr<PlaybackRequest> request)
{
    if (request->isWithdrawn())
        throw PlaybackWithdrawn();
    // Until the request waits on a conversion, withdrawing answers it at once:
    // a probe of a slow card cannot be cut short, but its caller need not wait
    // for it. What the probe and the lookup then find is dropped.
    auto answer = std::make_shared<SharedOutcome<QUrl>>();
    request->setOnWithdraw([answer] {
        if (!answer->isSet())
            answer->setError(std::make_exception_ptr(PlaybackWithdrawn()));
    });
    relay(serve(std::move(source), request), answer);
    co_return co_await answer->wait();
}

QCoro::Task<void> PlaybackService::relay(QCoro::Task<QUrl> work, std::shared_ptr<SharedOutcome<QUrl>> answer)
{
    try {
        const QUrl url = co_await std::move(work);
        if (!answer->isSet())
            answer->setValue(url);
    } catch (...) {
        if (!answer->isSet())
            answer->setError(std::current_exception());
    }
}

QCoro::Task<QUrl> PlaybackService::serve(QUrl source, std::shared_ptr<PlaybackRequest> request)
{
    const QString path = source.toLocalFile();
    const bool plays = co_await playable(path);
    if (request->isWithdrawn())
        throw PlaybackWithdrawn();
    if (plays)
        co_return source;
    const std::optional<QString> destination = co_await destinationFor(path);
    if (request->isWithdrawn())
        throw PlaybackWithdrawn();
    if (!destination)
        throw PlaybackError();
    if (QFileInfo::exists(*destination))
        co_return QUrl::fromLocalFile(*destination);

    // No await between the lookup and the store: one conversion per source.
    std::shared_ptr<Conversion> conversion = m_inFlight.value(source);
    const bool starter = !conversion;
    if (starter) {
        conversion = std::make_shared<Conversion>();
        m_inFlight.insert(source, conversion);
        convert(conversion, source, QUrl::fromLocalFile(*destination));
    }
    ++conversion->waiters;
    // Withdrawn from now on, the request ends the conversion only when no one
    // else waits for it; otherwise it waits on with them.
    request->setOnWithdraw([conversion] {
        if (conversion->waiters == 1)
            conversion->stopper->stop();
    });
    std::exception_ptr failure;
    QUrl url;
    try {
        url = co_await conversion->outcome.wait();
    } catch (...) {
        failure = std::current_exception();
    }
    --conversion->waiters;
    request->setOnWithdraw({});
    if (starter && m_inFlight.value(source) == conversion)
        m_inFlight.remove(source);
    if (failure)
        std::rethrow_exception(failure);
    co_return url;
}

QCoro::Task<void> PlaybackService::convert(std::shared_ptr<Conversion> conversion, QUrl source, QUrl destination)
{
    try {
        conversion->outcome.setValue(co_await transcode(source, destination, conversion->stopper));
    } catch (...) {
        conversion->outcome.setError(std::current_exception());
    }
}

QCoro::Task<QUrl> PlaybackService::transcode(QUrl source, QUrl destination, std::shared_ptr<FFmpegStopper> stopper)
{
    const QString finalPath = destination.toLocalFile();
    const QString partial = finalPath + QStringLiteral(".partial");
    auto clearLeftover = [partial] { QFile::remove(partial); };
    co_await m_executor.run(clearLeftover);
    std::exception_ptr failure;
    try {
        co_await m_runner.convertToHEVC(source.toLocalFile(), partial, QStringLiteral("1M"), std::nullopt, stopper);
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure) {
        // A stopped run leaves nothing behind; an ordinary failure leaves its
        // partial file, which the next attempt removes first.
        if (stopper && stopper->isStopped())
            co_await m_executor.run(clearLeftover);
        std::rethrow_exception(failure);
    }
    auto moveIntoPlace = [partial, finalPath] {
        // rename(2) replaces in one step; a copy made meanwhile by another
        // process would be equally whole.
        if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(finalPath).constData()) != 0)
            throw MoveError("The playable copy could not be moved into place.");
    };
    co_await m_executor.run(moveIntoPlace);
    co_return destination;
}

QCoro::Task<std::optional<MediaTrack>> PlaybackService::pictureTrack(QUrl playable)
{
    auto firstPicture = [path = playable.toLocalFile()]() -> std::optional<MediaTrack> {
        const std::optional<MediaInfo> info = MediaProbe::probe(path);
        if (!info)
            return std::nullopt;
        for (const MediaTrack &track : info->tracks) {
            if (track.type == MediaTrack::Type::video)
                return track;
        }
        return std::nullopt;
    };
    co_return co_await m_executor.run(firstPicture);
}

QCoro::Task<PlaybackService::QuickCheckResult> PlaybackService::quickCheck(QUrl source)
{
    const QString path = source.toLocalFile();
    if (co_await playable(path))
        co_return QuickCheckResult::alreadyPlayable;
    const std::optional<QString> destination = co_await destinationFor(path);
    if (!destination)
        co_return QuickCheckResult::needsTranscode;
    const QString target = *destination;
    auto exists = [target] { return QFileInfo::exists(target); };
    co_return co_await m_executor.run(exists) ? QuickCheckResult::alreadyPlayable : QuickCheckResult::needsTranscode;
}

} // namespace pomelark
