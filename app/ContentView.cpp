#include "app/ContentView.h"

#include "app/SessionClock.h"
#include "look/MascotPauser.h"
#include "services/CardWatcher.h"
#include "services/ExportCoordinator.h"
#include "services/PlaybackPrewarmer.h"
#include "services/PlaybackService.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>

namespace pomelark {

ContentView::ContentView(SessionServices services, QObject *parent)
    : SessionState(parent),
      m_services(std::move(services)),
      m_clock(m_services.clock ? m_services.clock : &SessionClock::steady()),
      m_exportCoordinator(new ExportCoordinator(ConvertService::shared(), PhotosService::shared(),
                                                ExportCoordinator::defaultStagingRoot(), this)),
      m_playbackPrewarmer(new PlaybackPrewarmer(
          m_services.playbackPreparation ? *m_services.playbackPreparation : PlaybackService::shared(), this)),
      m_cardWatcher(new CardWatcher(m_services.volumeMonitor, this)),
      m_activity(m_services.activity ? m_services.activity : &MascotPauser::shared())
{
    // Only changes reach the session: the value at start is no event.
    connect(m_cardWatcher, &CardWatcher::cardMissingChanged, this, &ContentView::handleCardChange);
}

ContentView::~ContentView() = default;

void ContentView::openSettings(Screen returnTo)
{
    setSettingsReturn(returnTo);
    setScreen(Screen::settings);
}

void ContentView::closeSettings()
{
    setScreen(settingsReturn());
}

void ContentView::enterSelectMode()
{
    setSelectMode(true);
}

void ContentView::toggleSelectMode()
{
    if (selectMode())
        endSelectMode();
    else
        setSelectMode(true);
}

void ContentView::finishSelecting()
{
    endSelectMode();
}

void ContentView::clearSelection()
{
    setSelectedIDs({});
}

void ContentView::selectAll()
{
    setSelectMode(true);
    IDSet all;
    for (const MediaItem &item : allItems())
        all.insert(item.id);
    setSelectedIDs(all);
}

void ContentView::openViewer(int at)
{
    setViewerIndex(at);
}

void ContentView::closeViewer()
{
    setViewerIndex(std::nullopt);
}

void ContentView::setShowingSendConfirm(bool showing)
{
    assignShowingSendConfirm(showing);
}

void ContentView::setShowingExcludeConfirm(bool showing)
{
    assignShowingExcludeConfirm(showing);
}

void ContentView::setShowingIncludeConfirm(bool showing)
{
    assignShowingIncludeConfirm(showing);
}

bool ContentView::isCardPresent() const
{
    return !m_cardWatcher->cardMissing();
}

bool ContentView::isCardMissing() const
{
    return m_cardWatcher->cardMissing();
}

void ContentView::spawnMainActorTask(std::function<QCoro::Task<void>()> operation)
{
    QMetaObject::invokeMethod(
        this, [operation = std::move(operation)] { operation(); }, Qt::QueuedConnection);
}

Binding<int> ContentView::viewerIndexBinding()
{
    QPointer<ContentView> self = this;
    return {[self] { return self ? self->viewerIndex().value_or(0) : 0; },
            [self](int index) {
                if (self)
                    self->setViewerIndex(index);
            }};
}

Binding<SessionState::IDSet> ContentView::selectedIDsBinding()
{
    QPointer<ContentView> self = this;
    return {[self] { return self ? self->selectedIDs() : IDSet{}; },
            [self](IDSet ids) {
                if (self)
                    self->setSelectedIDs(std::move(ids));
            }};
}

Binding<SessionState::Rotations> ContentView::rotationsBinding()
{
    QPointer<ContentView> self = this;
    return {[self] { return self ? self->rotations() : Rotations{}; },
            [self](Rotations rotations) {
                if (!self)
                    return;
                for (int &degrees : rotations)
                    degrees = ToolFlows::turned(degrees, 0);
                self->setRotations(std::move(rotations));
            }};
}

Binding<RotateSuggestions> ContentView::rotateSuggestionsBinding()
{
    QPointer<ContentView> self = this;
    return {[self] { return self ? self->rotateSuggestions() : RotateSuggestions{}; },
            [self](RotateSuggestions suggestions) {
                if (self)
                    self->setRotateSuggestions(std::move(suggestions));
            }};
}

Binding<SessionState::BestShotGroups> ContentView::bestShotGroupsBinding()
{
    QPointer<ContentView> self = this;
    return {[self] { return self ? self->bestShotGroups() : BestShotGroups{}; },
            [self](BestShotGroups groups) {
                if (self)
                    self->setBestShotGroups(std::move(groups));
            }};
}

Binding<bool> ContentView::infoAlertPresentedBinding()
{
    QPointer<ContentView> self = this;
    return {[self] { return self && self->infoAlert().has_value(); },
            [self](bool presented) {
                if (self && !presented)
                    self->setInfoAlert(std::nullopt);
            }};
}

QString ContentView::infoAlertTitle() const
{
    return infoAlert() ? title(*infoAlert()) : QString();
}

QString ContentView::infoAlertMessage() const
{
    return infoAlert() ? message(*infoAlert()) : QString();
}

QString ContentView::title(InfoAlert alert)
{
    switch (alert) {
    case InfoAlert::allUpright:
        return QCoreApplication::translate("ContentView", "Everything's upright!");
    case InfoAlert::noPhotosToRotate:
        return QCoreApplication::translate("ContentView", "No photos to straighten");
    case InfoAlert::noBestShotGroups:
        return QCoreApplication::translate("ContentView", "No similar-photo groups found");
    case InfoAlert::notEnoughPhotos:
        return QCoreApplication::translate("ContentView", "Not enough photos to compare");
    }
    return {};
}

QString ContentView::message(InfoAlert alert)
{
    switch (alert) {
    case InfoAlert::allUpright:
        return QCoreApplication::translate("ContentView", "Couldn't find any photos that need rotating.");
    case InfoAlert::noPhotosToRotate:
        return QCoreApplication::translate("ContentView", "Add some photos and I'll find the sideways ones to straighten.");
    case InfoAlert::noBestShotGroups:
        return QCoreApplication::translate("ContentView", "They all look different — nothing to group!");
    case InfoAlert::notEnoughPhotos:
        return QCoreApplication::translate("ContentView", "You need at least 2 photos to find similar ones.");
    }
    return {};
}

QCoro::Task<void> ContentView::pickFolder()
{
    return m_importSession.pickFolder();
}

QCoro::Task<void> ContentView::runImportSession(QUrl folder)
{
    return m_importSession.runImportSession(std::move(folder));
}

void ContentView::handleCardChange(bool missing)
{
    m_importSession.handleCardChange(missing);
}

void ContentView::enterGrid(const MediaItems &items, bool startPrewarm)
{
    m_importSession.enterGrid(items, startPrewarm);
}

void ContentView::goHome()
{
    m_importSession.goHome();
}

QCoro::Task<void> ContentView::returnHome()
{
    return m_importSession.returnHome();
}

void ContentView::backToGrid()
{
    setScreen(Screen::grid);
}

void ContentView::autoRotateTapped()
{
    m_toolFlows.autoRotateTapped();
}

QCoro::Task<void> ContentView::runAutoRotate()
{
    return m_toolFlows.runAutoRotate();
}

void ContentView::applyRotations()
{
    m_toolFlows.applyRotations();
}

void ContentView::cancelRotate()
{
    m_toolFlows.cancelRotate();
}

void ContentView::bestShotTapped()
{
    m_toolFlows.bestShotTapped();
}

QCoro::Task<void> ContentView::runBestShot()
{
    return m_toolFlows.runBestShot();
}

void ContentView::applyBestShot()
{
    m_toolFlows.applyBestShot();
}

void ContentView::cancelBestShot()
{
    m_toolFlows.cancelBestShot();
}

void ContentView::applyExclude()
{
    m_toolFlows.applyExclude();
}

void ContentView::applyInclude()
{
    m_toolFlows.applyInclude();
}

void ContentView::confirmSend()
{
    m_toolFlows.confirmSend();
}

void ContentView::startSend()
{
    m_toolFlows.startSend();
}

QCoro::Task<void> ContentView::runSend(MediaItems items, ExportSettings settings)
{
    return m_toolFlows.runSend(std::move(items), settings);
}

QString ContentView::autoRotateProgressTitle()
{
    return QCoreApplication::translate("ContentView", "Looking at your photos...");
}

QString ContentView::bestShotProgressTitle()
{
    return QCoreApplication::translate("ContentView", "Finding similar photos...");
}

QString ContentView::progressCountText(int done, int total)
{
    return QCoreApplication::translate("ContentView", "%1 / %2").arg(done).arg(total);
}

QString ContentView::folderPanelMessage()
{
    return QCoreApplication::translate("ContentView", "Choose a folder with JPG / AVI files");
}

QString ContentView::folderPanelPrompt()
{
    return QCoreApplication::translate("ContentView", "Choose");
}

} // namespace pomelark
