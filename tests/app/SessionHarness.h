#pragma once

#include "FakeSessionClock.h"

#include "app/ContentView.h"
#include "platform/SharedOutcome.h"
#include "platform/VolumeMonitor.h"
#include "services/PlaybackService.h"
#include "services/ValidationService.h"
#include "support/FakeVolumeTable.h"
#include "support/TempFolder.h"

#include <QHash>
#include <QSet>

#include <gtest/gtest.h>

#include <memory>

namespace pomelark::test {

/// Playable copies that finish only when the test says so.
class FakePreparation : public PlaybackPreparation {
public:
    QSet<QUrl> playable;
    QList<QUrl> conversionsStarted;

    QCoro::Task<QuickCheckResult> quickCheck(QUrl source) override;
    /// Withdrawing the request ends its conversion as failed.
    QCoro::Task<QUrl> playableURL(QUrl source, std::shared_ptr<PlaybackRequest> request) override;

    /// Ends the conversion of `source` (now or as soon as it starts).
    void finish(const QUrl &source, bool succeeded);

private:
    std::shared_ptr<SharedOutcome<bool>> conversion(const QUrl &source);
    QHash<QUrl, std::shared_ptr<SharedOutcome<bool>>> m_conversions;
};

/// What the stand-in services were asked.
struct ServiceCalls {
    QList<QUrl> validated;
    QList<PullSigns> validatedWith;
    QList<MediaItems> postersPrepared;
    int workingFolderResets = 0;
    QList<FolderPanelRequest> panels;
    QList<MediaItems> orientationRuns;
    QList<MediaItems> bestShotRuns;
    struct Send {
        MediaItems items;
        ExportSettings settings;
        QHash<QUuid, int> rotations;
        std::function<bool()> isCardMissing;
    };
    QList<Send> sends;
};

/// A content view on stand-in services, a virtual clock and a fake mount table
/// with a card in it. Sessions run on the card's DCIM folder.
class SessionHarness : public ::testing::Test {
protected:
    SessionHarness();
    ~SessionHarness() override;

    /// A photo or video item in the card folder; a fresh id each call.
    MediaItem photo(const QString &name) const;
    MediaItem video(const QString &name) const;

    /// What the next validations return, in turn (the last one repeats). Each
    /// run asks whether the card is there before every file and gives every
    /// item a fresh id, as a real scan would.
    QList<ValidationOutcome> outcomes;
    /// When set, a validation stops before its second file until this is set.
    std::shared_ptr<SharedOutcome<bool>> betweenFiles;
    /// When set, the next validation ends with ValidationAborted before this
    /// file while the card watcher still says present, as when the card's own
    /// reads tell of it going before its unmount does.
    std::optional<int> cardStopsAnsweringAt;
    /// When set, a validation throws this instead.
    std::exception_ptr validationError;
    /// When set, validations run through this real service on the card
    /// folder's files instead of handing out `outcomes`.
    ValidationService *validation = nullptr;
    /// Results of the tool jobs, handed out when the test sets them.
    std::shared_ptr<SharedOutcome<QHash<QUrl, int>>> orientationResult;
    std::shared_ptr<SharedOutcome<QList<BestShotGroup>>> bestShotResult;
    std::shared_ptr<SharedOutcome<bool>> sendFinished;
    /// What the folder chooser answers.
    std::optional<QUrl> chosenFolder;

    void pullCard();
    void insertCard();
    /// Runs a whole session on the card folder and awaits it.
    void runSession();
    void runSessionOn(const QUrl &folder);
    /// Lets queued work run (spawned tasks, prewarmer steps) until `condition`.
    bool settle(const std::function<bool()> &condition);
    /// Runs what is queued now (and what that queues) without waiting for more.
    void drainEvents();

    QUrl cardFolder() const { return QUrl::fromLocalFile(m_cardPath + QStringLiteral("/DCIM")); }
    QString settingsFile() const { return m_folder.filePath(QStringLiteral("settings.ini")); }

    TempFolder m_folder;
    FakeVolumeTable m_table;
    QString m_cardPath;
    FakeVolumeTable::Mount m_rootMount, m_card;
    std::unique_ptr<VolumeMonitor> m_monitor;
    FakeSessionClock clock;
    FakePreparation preparation;
    ServiceCalls calls;
    std::unique_ptr<ContentView> view;

private:
    QCoro::Task<ValidationOutcome> validate(QUrl folder, std::function<bool()> isStillPresent, PullSigns signs);
    int m_validations = 0;
};

} // namespace pomelark::test
