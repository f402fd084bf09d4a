#include "SessionHarness.h"

#include "support/AsyncTest.h"

#include <QDir>

namespace pomelark::test {

QCoro::Task<PlaybackPreparation::QuickCheckResult> FakePreparation::quickCheck(QUrl source)
{
    co_return playable.contains(source) ? QuickCheckResult::alreadyPlayable : QuickCheckResult::needsTranscode;
}

QCoro::Task<QUrl> FakePreparation::playableURL(QUrl source, std::shared_ptr<PlaybackRequest> request)
{
    conversionsStarted.append(source);
    const auto outcome = conversion(source);
    request->setOnWithdraw([this, source] {
        finish(source, false);
        m_conversions.remove(source);
    });
    // Nothing of `this` is touched after the wait: a stopped conversion may
    // resume after the fake is gone.
    if (!co_await outcome->wait())
        throw std::runtime_error("conversion failed");
    co_return source;
}

void FakePreparation::finish(const QUrl &source, bool succeeded)
{
    const auto outcome = conversion(source);
    if (!outcome->isSet())
        outcome->setValue(succeeded);
}

std::shared_ptr<SharedOutcome<bool>> FakePreparation::conversion(const QUrl &source)
{
    auto &slot = m_conversions[source];
    if (!slot)
        slot = std::make_shared<SharedOutcome<bool>>();
    return slot;
}

SessionHarness::SessionHarness() : m_table(m_folder.path())
{
    m_table.addInternalDevice(QStringLiteral("sda1"), QStringLiteral("8:1"));
    m_table.addCardDevice(QStringLiteral("sdb1"), QStringLiteral("8:17"), QStringLiteral("1111-AAAA"));
    m_cardPath = m_table.root() + QStringLiteral("/media/CARD");
    QDir().mkpath(m_cardPath + QStringLiteral("/DCIM"));
    m_rootMount = {1, QStringLiteral("/"), QStringLiteral("8:1"), QStringLiteral("/dev/sda1"), QStringLiteral("ext4")};
    m_card = {40, m_cardPath, QStringLiteral("8:17"), QStringLiteral("/dev/sdb1")};
    m_table.writeTable({m_rootMount, m_card});
    m_monitor = std::make_unique<VolumeMonitor>(Volumes(m_table.roots()));

    SessionServices services;
    services.chooseFolder = [this](const FolderPanelRequest &request) {
        calls.panels.append(request);
        return chosenFolder;
    };
    services.findCardFolder = [this] { return std::optional<QUrl>(cardFolder()); };
    services.resetWorkingFolders = [this]() -> QCoro::Task<void> {
        ++calls.workingFolderResets;
        co_return;
    };
    services.validate = [this](QUrl folder, std::function<bool()> isStillPresent, PullSigns signs) {
        return validate(std::move(folder), std::move(isStillPresent), signs);
    };
    services.preparePosters = [this](MediaItems videos) -> QCoro::Task<void> {
        calls.postersPrepared.append(videos);
        co_return;
    };
    services.analyzeOrientation = [this](MediaItems photos, AnalysisProgress progress) -> QCoro::Task<QHash<QUrl, int>> {
        calls.orientationRuns.append(photos);
        progress(0, int(photos.size()));
        orientationResult = std::make_shared<SharedOutcome<QHash<QUrl, int>>>();
        const auto result = orientationResult;
        co_return co_await result->wait();
    };
    services.findBestShotGroups = [this](MediaItems photos, AnalysisProgress progress) -> QCoro::Task<QList<BestShotGroup>> {
        calls.bestShotRuns.append(photos);
        progress(0, int(photos.size()));
        bestShotResult = std::make_shared<SharedOutcome<QList<BestShotGroup>>>();
        const auto result = bestShotResult;
        co_return co_await result->wait();
    };
    services.exportItems = [this](ExportCoordinator &, MediaItems items, ExportSettings settings,
                                  QHash<QUuid, int> rotations, std::function<bool()> isCardMissing) -> QCoro::Task<void> {
        calls.sends.append({items, settings, rotations, isCardMissing});
        sendFinished = std::make_shared<SharedOutcome<bool>>();
        const auto finished = sendFinished;
        co_await finished->wait();
    };
    services.playbackPreparation = &preparation;
    services.volumeMonitor = m_monitor.get();
    services.clock = &clock;
    services.defaults = SessionDefaults(settingsFile());
    view = std::make_unique<ContentView>(std::move(services));
}

SessionHarness::~SessionHarness()
{
    view.reset();
    // Let stopped work wind down while its objects still exist.
    QCoreApplication::processEvents();
}

QCoro::Task<ValidationOutcome> SessionHarness::validate(QUrl folder, std::function<bool()> isStillPresent,
                                                        PullSigns signs)
{
    calls.validated.append(folder);
    calls.validatedWith.append(signs);
    if (validationError)
        std::rethrow_exception(validationError);
    if (validation)
        co_return co_await validation->validate(std::move(folder), std::move(isStillPresent), signs);
    ValidationOutcome outcome = outcomes.isEmpty() ? ValidationOutcome{}
                                                   : outcomes.at(std::min<qsizetype>(m_validations, outcomes.size() - 1));
    ++m_validations;
    for (qsizetype i = 0; i < outcome.valid.size(); ++i) {
        if (i == 1 && betweenFiles) {
            // Held here: a test may let go of its gate as soon as it opens it.
            const std::shared_ptr<SharedOutcome<bool>> gate = betweenFiles;
            co_await gate->wait();
        }
        if (!isStillPresent() || (cardStopsAnsweringAt == i && signs == PullSigns::watcherOrReads)) {
            cardStopsAnsweringAt.reset();
            throw ValidationAborted();
        }
        outcome.valid[i].id = QUuid::createUuid();
    }
    co_return outcome;
}

MediaItem SessionHarness::photo(const QString &name) const
{
    return {QUuid::createUuid(), QUrl::fromLocalFile(m_cardPath + QStringLiteral("/DCIM/") + name),
            MediaItem::Kind::photo};
}

MediaItem SessionHarness::video(const QString &name) const
{
    return {QUuid::createUuid(), QUrl::fromLocalFile(m_cardPath + QStringLiteral("/DCIM/") + name),
            MediaItem::Kind::video};
}

void SessionHarness::pullCard()
{
    m_table.writeTable({m_rootMount});
    m_monitor->rescan();
}

void SessionHarness::insertCard()
{
    FakeVolumeTable::Mount back = m_card;
    back.id += 1;
    m_table.writeTable({m_rootMount, back});
    m_monitor->rescan();
}

void SessionHarness::runSession()
{
    runSessionOn(cardFolder());
}

void SessionHarness::runSessionOn(const QUrl &folder)
{
    awaitTask(view->runImportSession(folder));
}

bool SessionHarness::settle(const std::function<bool()> &condition)
{
    return spinUntil(condition, std::chrono::seconds(30));
}

void SessionHarness::drainEvents()
{
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
}

} // namespace pomelark::test
