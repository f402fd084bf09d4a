#include "services/ExportCoordinator.h"

#include "platform/ReadCheck.h"
#include "platform/SystemLog.h"
#include "services/FFmpegError.h"
#include "services/WorkingFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace pomelark {

namespace {

/// Why an item was not sent, as the error that stopped it says.
struct Reason {
    QString text;
    /// The video converter's run failed: its text blames the file even when
    /// the file's card went.
    bool fromVideoRun = false;
};

/// The user text of whatever a conversion or an add threw.
Reason reasonFor(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const ConvertError &convert) {
        return {convert.message()};
    } catch (const PhotosError &photos) {
        return {photos.message()};
    } catch (const FFmpegError &video) {
        // A video that ends before its container says it does, or whose run
        // stopped on its damaged data (most often a packet it was cut in),
        // was read in part, as a cut photo is, and is told in the same words.
        if (video.kind() == FFmpegError::Kind::partialRead || video.inputDamaged())
            return {ConvertError(ConvertError::Kind::sourceUnreadable).message(), true};
        return {QString::fromUtf8(video.what()), true};
    } catch (const std::exception &other) {
        // The video converter's errors carry their (untranslated) text as what().
        return {QString::fromUtf8(other.what()), true};
    } catch (...) {
    }
    return {ConvertError(ConvertError::Kind::encodingFailed).message()};
}

QString cardRemovedReason()
{
    return QCoreApplication::translate("ExportCoordinator", "The SD card was removed");
}

QString newUuidText()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

} // namespace

ExportCoordinator::ExportCoordinator(ConvertService &converter, PhotosService &photos, QString stagingRoot,
                                     QObject *parent)
    : QObject(parent), m_converter(converter), m_photos(photos), m_stagingRoot(std::move(stagingRoot))
{
}

QString ExportCoordinator::defaultStagingRoot()
{
    return WorkingFolders::standard().exportStaging();
}

QCoro::Task<void> ExportCoordinator::exportItems(MediaItems items, ExportSettings settings,
                                                 QHash<QUuid, int> rotations, std::function<bool()> isCardMissing)
{
    using Status = PhotosService::AuthorizationStatus;
    setPhase(Phase::of(Phase::Kind::requestingPermission));
    Status status = m_photos.authorizationStatus();
    if (status == Status::notDetermined)
        status = co_await m_photos.requestAuthorization();
    if (status != Status::authorized && status != Status::limited) {
        setPhase(Phase::of(Phase::Kind::permissionDenied));
        co_return;
    }

    // A folder that cannot be made shows up as each item's conversion failure.
    const QString jobFolder = m_stagingRoot + QLatin1Char('/') + newUuidText();
    QDir().mkpath(jobFolder);

    setTotalItems(int(items.size()));
    setDoneItems(0);
    setProgress(0);
    QList<FailedItem> failed;
    int sentPhotos = 0;
    int sentVideos = 0;

    for (int i = 0; i < items.size(); ++i) {
        const MediaItem &item = items.at(i);
        if (isCardMissing && isCardMissing()) {
            const QString reason = cardRemovedReason();
            for (int j = i; j < items.size(); ++j)
                failed.append({QUuid::createUuid(), items.at(j), reason});
            break;
        }
        const QString name = item.url.fileName();
        setCurrentName(name);
        setPhase(Phase::running(i, name));

        const bool isVideo = item.kind == MediaItem::Kind::video;
        // A kept photo's date comes from its conversion's own read of it.
        std::optional<QDateTime> date;
        if (settings.dateMode == DateMode::now)
            date = m_clock();
        else if (isVideo)
            date = ConvertService::captureDate(item.url, item.kind);
        const QString output = jobFolder + QLatin1Char('/') + newUuidText()
                               + (isVideo ? QStringLiteral(".mov") : QStringLiteral(".heic"));

        // Begun first, this item's conversion claims its memory before the
        // read-ahead of the next.
        QCoro::Task<void> sending = sendOne(item, output, settings, date, rotations.value(item.id, 0));
        // The next photo is read while this item converts; it shows nothing
        // until its own turn, after its own card test.
        if (i + 1 < items.size() && items.at(i + 1).kind == MediaItem::Kind::photo)
            m_converter.readAhead(items.at(i + 1).url, rotations.value(items.at(i + 1).id, 0),
                                  settings.quality == QualityMode::quality);

        std::exception_ptr error;
        bool stopped = false;
        try {
            co_await std::move(sending);
            (isVideo ? sentVideos : sentPhotos) += 1;
        } catch (const WorkStopped &) {
            // The converter was stopped (the program ends): so is the send, and
            // what it stopped in is no failure of the item's.
            stopped = true;
        } catch (...) {
            error = std::current_exception();
        }
        if (error) {
            Reason reason = reasonFor(error);
            if (isVideo && reason.fromVideoRun)
                reason.text = co_await videoRunReason(item.url.toLocalFile(), reason.text, isCardMissing);
            failed.append({QUuid::createUuid(), item, reason.text});
        }
        // Sent or not, the copy is of no more use: a failed one goes at once too,
        // or its leftover could fill a small disk under the next item.
        if (settings.autoCleanup)
            QFile::remove(output);
        if (stopped)
            break;

        setDoneItems(i + 1);
        setProgress(m_totalItems < 1 ? 1.0 : double(m_doneItems) / double(m_totalItems));
    }

    m_converter.dropReadAhead();
    if (settings.autoCleanup)
        QDir(jobFolder).removeRecursively();
    // The done screen shows only a count; the reasons stay findable here.
    for (const FailedItem &failure : std::as_const(failed))
        SystemLog::write(QStringLiteral("[ExportCoordinator] send FAILED for ") + failure.item.url.fileName()
                         + QStringLiteral(": ") + failure.reason);
    setPhase(Phase::finished(sentPhotos, sentVideos, std::move(failed)));
}

QCoro::Task<void> ExportCoordinator::sendOne(MediaItem item, QString output, ExportSettings settings,
                                             std::optional<QDateTime> date, int rotation)
{
    const bool highQuality = settings.quality == QualityMode::quality;
    const bool isVideo = item.kind == MediaItem::Kind::video;
    const QUrl outputURL = QUrl::fromLocalFile(output);
    if (isVideo)
        co_await m_converter.convertVideo(item.url, outputURL, highQuality, date);
    else if (settings.dateMode == DateMode::keep)
        date = co_await m_converter.convertPhotoWithOwnDate(item.url, outputURL, highQuality, rotation);
    else
        co_await m_converter.convertPhoto(item.url, outputURL, highQuality, date, rotation);
    co_await m_photos.addToLibrary(outputURL, isVideo, date, item.url.fileName());
}

QCoro::Task<QString> ExportCoordinator::videoRunReason(QString source, QString runReason,
                                                      std::function<bool()> isCardMissing)
{
    // ffmpeg sees a card pulled mid-read as a damaged file; the card and the
    // file itself tell the two apart.
    if (isCardMissing && isCardMissing())
        co_return cardRemovedReason();
    if (!co_await m_sourceCheck.run([source] { return ReadCheck::readsFromDevice(source); }))
        co_return ConvertError(ConvertError::Kind::sourceUnreadable).message();
    co_return runReason;
}

void ExportCoordinator::setPhase(Phase phase)
{
    if (phase == m_phase)
        return;
    m_phase = std::move(phase);
    Q_EMIT phaseChanged();
}

void ExportCoordinator::setProgress(double progress)
{
    if (progress == m_progress)
        return;
    m_progress = progress;
    Q_EMIT progressChanged();
}

void ExportCoordinator::setTotalItems(int total)
{
    if (total == m_totalItems)
        return;
    m_totalItems = total;
    Q_EMIT totalItemsChanged();
}

void ExportCoordinator::setDoneItems(int done)
{
    if (done == m_doneItems)
        return;
    m_doneItems = done;
    Q_EMIT doneItemsChanged();
}

void ExportCoordinator::setCurrentName(const QString &name)
{
    if (name == m_currentName)
        return;
    m_currentName = name;
    Q_EMIT currentNameChanged();
}

} // namespace pomelark
