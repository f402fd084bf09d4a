#pragma once

#include "platform/SerialExecutor.h"
#include "services/ConvertService.h"
#include "services/ExportSettings.h"
#include "services/MediaItem.h"
#include "services/PhotosService.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>
#include <QUuid>

#include <qcoro/qcorotask.h>

#include <functional>

namespace pomelark {

/// Runs the send: converts every kept item (photos to HEIC, videos to HEVC) into
/// a job folder of its own and adds it to the Photos library, one item after
/// another, publishing where it stands for the progress and done screens.
///
/// Lives on the main thread; every property changes there. The source files are
/// only read: what is sent are the copies made in the job folder.
class ExportCoordinator : public QObject {
    Q_OBJECT

public:
    /// An item that was not sent, and why (the error's own user text).
    struct FailedItem {
        QUuid id;
        MediaItem item;
        QString reason;

        friend bool operator==(const FailedItem &, const FailedItem &) = default;
    };

    /// Where the send stands. `kind` says which; the other fields belong to the
    /// kinds named beside them.
    struct Phase {
        enum class Kind { running, finished, idle, requestingPermission, permissionDenied };

        Kind kind = Kind::idle;
        int currentIndex = 0;     ///< running: 0-based index into the job's items
        QString currentName;      ///< running: the item's file name
        int successPhotos = 0;    ///< finished
        int successVideos = 0;    ///< finished
        QList<FailedItem> failed; ///< finished, in the order the failures happened

        static Phase running(int index, QString name) { return {Kind::running, index, std::move(name)}; }
        static Phase finished(int photos, int videos, QList<FailedItem> failed)
        {
            return {Kind::finished, 0, {}, photos, videos, std::move(failed)};
        }
        static Phase of(Kind kind) { return {kind}; }

        friend bool operator==(const Phase &, const Phase &) = default;
    };

    Q_PROPERTY(pomelark::ExportCoordinator::Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(int totalItems READ totalItems NOTIFY totalItemsChanged)
    Q_PROPERTY(int doneItems READ doneItems NOTIFY doneItemsChanged)
    Q_PROPERTY(QString currentName READ currentName NOTIFY currentNameChanged)

    /// `stagingRoot` is the folder that holds one job folder per send.
    explicit ExportCoordinator(ConvertService &converter = ConvertService::shared(),
                               PhotosService &photos = PhotosService::shared(),
                               QString stagingRoot = defaultStagingRoot(), QObject *parent = nullptr);

    /// "export-staging" in the app's own caches folder.
    static QString defaultStagingRoot();

    /// The clock that dates items when the date mode is `now`.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    const Phase &phase() const { return m_phase; }
    /// The library the items are sent into.
    const PhotosService &photos() const { return m_photos; }
    double progress() const { return m_progress; }
    int totalItems() const { return m_totalItems; }
    int doneItems() const { return m_doneItems; }
    const QString &currentName() const { return m_currentName; }

    /// Sends `items` in their order. `rotations` maps item ids to clockwise
    /// degrees (missing means 0). `isCardMissing` is asked on the main thread
    /// before each item; once it says true, that item and every later one fail
    /// with "The SD card was removed". A video whose conversion fails asks it
    /// again: with the card gone it fails with that text too, and with "Couldn't
    /// read the source file" when its file no longer reads, ends before its
    /// container says it does or stops ffmpeg on its damaged data, else with
    /// one line of the converter's reason.
    /// Never fails: returns with the phase at `finished` (one item's failure
    /// never stops the others) or at `permissionDenied`, when nothing was
    /// touched.
    QCoro::Task<void> exportItems(MediaItems items, ExportSettings settings, QHash<QUuid, int> rotations,
                                  std::function<bool()> isCardMissing);

Q_SIGNALS:
    void phaseChanged();
    void progressChanged();
    void totalItemsChanged();
    void doneItemsChanged();
    void currentNameChanged();

private:
    void setPhase(Phase phase);
    void setProgress(double progress);
    void setTotalItems(int total);
    void setDoneItems(int done);
    void setCurrentName(const QString &name);

    /// Converts one item into `output` and adds it to the library, dated by
    /// `date` (a photo whose date is kept: by its own, from its conversion).
    /// Throws what the conversion or the add threw.
    QCoro::Task<void> sendOne(MediaItem item, QString output, ExportSettings settings,
                              std::optional<QDateTime> date, int rotation);

    /// The reason for a video whose conversion failed with `runReason`.
    QCoro::Task<QString> videoRunReason(QString source, QString runReason, std::function<bool()> isCardMissing);

    ConvertService &m_converter;
    PhotosService &m_photos;
    QString m_stagingRoot;
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };

    Phase m_phase;
    double m_progress = 0;
    int m_totalItems = 0;
    int m_doneItems = 0;
    QString m_currentName;
    SerialExecutor m_sourceCheck{QStringLiteral("ExportCoordinator")};
};

} // namespace pomelark

Q_DECLARE_METATYPE(pomelark::ExportCoordinator::Phase)
