#include "app/ToolFlows.h"

#include "app/ContentView.h"
#include "services/CardWatcher.h"

namespace pomelark {

namespace {

using Screen = SessionState::Screen;
using InfoAlert = SessionState::InfoAlert;
using ToolProgress = SessionState::ToolProgress;

MediaItems notIn(const MediaItems &items, const SessionState::IDSet &excluded)
{
    MediaItems kept;
    for (const MediaItem &item : items) {
        if (!excluded.contains(item.id))
            kept.append(item);
    }
    return kept;
}

} // namespace

int ToolFlows::turned(int current, int degrees)
{
    const int sum = (current + degrees) % 360;
    return sum < 0 ? sum + 360 : sum;
}

void ToolFlows::autoRotateTapped()
{
    if (m_view.autoRotateProgress())
        return;
    if (m_view.photos().isEmpty()) {
        m_view.setInfoAlert(InfoAlert::noPhotosToRotate);
        return;
    }
    m_view.setAutoRotateProgress(ToolProgress{0, int(m_view.photos().size())});
    ContentView *view = &m_view;
    m_view.spawnMainActorTask([view] { return view->runAutoRotate(); });
}

QCoro::Task<void> ToolFlows::runAutoRotate()
{
    QPointer<ContentView> view = &m_view;
    const std::optional<QHash<QUrl, int>> turns =
        co_await runJob(view, m_view.m_services.analyzeOrientation, &SessionState::setAutoRotateProgress);
    if (!turns)
        co_return;
    if (turns->isEmpty()) {
        view->setInfoAlert(InfoAlert::allUpright);
        co_return;
    }
    RotateSuggestions suggestions;
    for (const MediaItem &photo : view->photos()) {
        const auto turn = turns->constFind(photo.url);
        if (turn != turns->cend())
            suggestions.append(RotateSuggestion{photo.id, photo, *turn, true});
    }
    view->setRotateSuggestions(suggestions);
    view->setShowingRotateConfirm(true);
}

template <typename Result>
QCoro::Task<std::optional<Result>> ToolFlows::runJob(
    QPointer<ContentView> view, const std::function<QCoro::Task<Result>(MediaItems, AnalysisProgress)> &job,
    void (SessionState::*setProgress)(std::optional<ToolProgress>))
{
    const quint64 generation = view->m_sessionGeneration;
    Result result = co_await job(view->photos(), [view, setProgress](int done, int total) {
        if (view)
            (view.data()->*setProgress)(ToolProgress{done, total});
    });
    if (!view)
        co_return std::nullopt;
    (view.data()->*setProgress)(std::nullopt);
    // Results for a folder that is no longer the session's would change nothing of it.
    if (view->m_sessionGeneration != generation)
        co_return std::nullopt;
    co_return result;
}

void ToolFlows::applyRotations()
{
    RotateSuggestions accepted;
    for (const RotateSuggestion &suggestion : m_view.rotateSuggestions()) {
        if (suggestion.accepted)
            accepted.append(suggestion);
    }
    m_view.setShowingRotateConfirm(false);
    m_view.setRotateSuggestions({});
    SessionState::Rotations rotations = m_view.rotations();
    for (const RotateSuggestion &suggestion : std::as_const(accepted))
        rotations.insert(suggestion.id, turned(rotations.value(suggestion.id, 0), suggestion.degrees));
    m_view.setRotations(rotations);
}

void ToolFlows::cancelRotate()
{
    m_view.setShowingRotateConfirm(false);
    m_view.setRotateSuggestions({});
}

void ToolFlows::bestShotTapped()
{
    if (m_view.bestShotProgress())
        return;
    if (m_view.photos().size() < 2) {
        m_view.setInfoAlert(InfoAlert::notEnoughPhotos);
        return;
    }
    m_view.setBestShotProgress(ToolProgress{0, int(m_view.photos().size())});
    ContentView *view = &m_view;
    m_view.spawnMainActorTask([view] { return view->runBestShot(); });
}

QCoro::Task<void> ToolFlows::runBestShot()
{
    QPointer<ContentView> view = &m_view;
    std::optional<QList<BestShotGroup>> groups =
        co_await runJob(view, m_view.m_services.findBestShotGroups, &SessionState::setBestShotProgress);
    if (!groups)
        co_return;
    if (groups->isEmpty()) {
        view->setInfoAlert(InfoAlert::noBestShotGroups);
        co_return;
    }
    view->setBestShotGroups(std::move(*groups));
    view->setShowingBestShotConfirm(true);
}

void ToolFlows::applyBestShot()
{
    SessionState::IDSet excluded = m_view.excludedIDs();
    for (const BestShotGroup &group : m_view.bestShotGroups()) {
        // Only an explicit "not kept" leaves a photo out: a group whose flags
        // came back short keeps the photos it has no flag for.
        for (qsizetype i = 0; i < group.items.size() && i < group.keep.size(); ++i) {
            if (!group.keep.at(i))
                excluded.insert(group.items.at(i).id);
        }
    }
    m_view.setExcludedIDs(excluded);
    m_view.setShowingBestShotConfirm(false);
    m_view.setBestShotGroups({});
}

void ToolFlows::cancelBestShot()
{
    m_view.setShowingBestShotConfirm(false);
    m_view.setBestShotGroups({});
}

void ToolFlows::applyExclude()
{
    m_view.setExcludedIDs(m_view.excludedIDs() + m_view.selectedIDs());
    m_view.assignShowingExcludeConfirm(false);
    m_view.endSelectMode();
}

void ToolFlows::applyInclude()
{
    m_view.setExcludedIDs(m_view.excludedIDs() - m_view.selectedIDs());
    m_view.assignShowingIncludeConfirm(false);
    m_view.endSelectMode();
}

void ToolFlows::confirmSend()
{
    m_view.assignShowingSendConfirm(false);
    startSend();
}

void ToolFlows::startSend()
{
    // A second confirmation while the first send runs would add every file twice.
    if (m_sending)
        return;
    m_sending = true;
    const MediaItems items = notIn(m_view.photos(), m_view.excludedIDs()) + notIn(m_view.videos(), m_view.excludedIDs());
    const ExportSettings settings = m_view.m_services.defaults.exportSettings();
    m_view.setScreen(Screen::converting);
    ContentView *view = &m_view;
    m_view.spawnMainActorTask([view, items, settings] { return view->runSend(items, settings); });
}

QCoro::Task<void> ToolFlows::runSend(MediaItems items, ExportSettings settings)
{
    QPointer<ContentView> view = &m_view;
    m_sending = true;
    co_await m_view.m_services.exportItems(*m_view.m_exportCoordinator, std::move(items), settings, m_view.rotations(),
                                           [view] { return !view || view->isCardMissing(); });
    if (!view)
        co_return;
    m_sending = false;
    view->setScreen(Screen::done);
}

} // namespace pomelark
