#include "app/MainView.h"

#include "app/CardMissingScreen.h"
#include "app/ContentView.h"
#include "app/GridScreen.h"
#include "app/PreparingScreen.h"
#include "app/ScreenStyle.h"
#include "app/SettingsScreen.h"
#include "app/ToolProgressOverlay.h"
#include "app/ValidationScreen.h"
#include "app/WelcomeView.h"
#include "browsing/ExcludeConfirmView.h"
#include "browsing/IncludeConfirmView.h"
#include "browsing/ViewerView.h"
#include "look/OverlayLayer.h"
#include "look/Palette.h"
#include "tidy_send/BestShotConfirmView.h"
#include "tidy_send/ConvertScreen.h"
#include "tidy_send/DoneScreen.h"
#include "tidy_send/RotateConfirmView.h"
#include "tidy_send/SendConfirmView.h"

#include <QMessageBox>
#include <QVBoxLayout>

namespace pomelark {

namespace {

using Screen = ContentView::Screen;

/// Brings an overlay in when it is wanted and sends it out when it is not; a
/// leaving overlay fades on its own and is no longer the one in `slot`.
template <typename T, typename Make>
bool follow(QPointer<T> &slot, bool wanted, Make make)
{
    if (wanted && !slot) {
        slot = make();
        slot->show();
        return true;
    }
    if (!wanted && slot) {
        T *leaving = slot;
        slot = nullptr;
        leaving->leave();
    }
    return false;
}

/// The window's change of 0.25 s, ease-out, under which the send, exclude and
/// include confirmations, the viewer and the card-missing screen come and go.
Animation windowChange()
{
    return Animation::easeOut(0.25);
}

int countOutside(const MediaItems &items, const QSet<QUuid> &excluded)
{
    int count = 0;
    for (const MediaItem &item : items)
        count += excluded.contains(item.id) ? 0 : 1;
    return count;
}

} // namespace

MainView::MainView(ContentView *controller, QWidget *parent, FrameTicker &ticker)
    : QWidget(parent), m_view(controller), m_ticker(ticker)
{
    ScreenStyle::fillBackground(this, Palette::background());

    ContentView *view = m_view;
    connect(view, &SessionState::screenChanged, this, [this] {
        showScreen();
        followCardMissing();
    });
    connect(view, &SessionState::validationOutcomeChanged, this, [this] {
        if (m_view->screen() == Screen::validationResult)
            showScreen();
    });
    connect(view->exportCoordinator(), &ExportCoordinator::phaseChanged, this, [this] {
        if (m_view->screen() == Screen::done)
            showScreen();
    });
    // A session started again on the same folder (the card came back) keeps the
    // screen but not its start: the preparing screen counts from the new one.
    // Rebuilt once the restart's other writes (the finale flag) are done.
    connect(view, &SessionState::preparingStartedAtChanged, this, [this] {
        if (m_view->screen() != Screen::validating)
            return;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_view->screen() == Screen::validating)
                    showScreen();
            },
            Qt::QueuedConnection);
    });
    connect(view, &SessionState::preparingFinaleChanged, this, [this] {
        if (auto *preparing = qobject_cast<PreparingScreen *>(m_screen.data()))
            preparing->setFinale(m_view->preparingFinale());
    });

    connect(view, &SessionState::showingSendConfirmChanged, this, &MainView::followSendConfirm);
    connect(view, &SessionState::autoRotateProgressChanged, this, &MainView::followToolProgress);
    connect(view, &SessionState::bestShotProgressChanged, this, &MainView::followToolProgress);
    connect(view, &SessionState::showingRotateConfirmChanged, this, &MainView::followRotateConfirm);
    connect(view, &SessionState::rotateSuggestionsChanged, this, [this] {
        if (m_rotateConfirm)
            m_rotateConfirm->refresh();
    });
    connect(view, &SessionState::showingBestShotConfirmChanged, this, &MainView::followBestShotConfirm);
    connect(view, &SessionState::bestShotGroupsChanged, this, [this] {
        if (m_bestShotConfirm)
            m_bestShotConfirm->refresh();
    });
    connect(view, &SessionState::showingExcludeConfirmChanged, this, &MainView::followSelectionConfirms);
    connect(view, &SessionState::showingIncludeConfirmChanged, this, &MainView::followSelectionConfirms);
    connect(view, &SessionState::selectedIDsChanged, this, [this] {
        const int count = int(m_view->selectedIDs().size());
        if (m_excludeConfirm)
            m_excludeConfirm->setCount(count);
        if (m_includeConfirm)
            m_includeConfirm->setCount(count);
        if (m_viewer)
            m_viewer->refresh();
    });
    connect(view, &SessionState::viewerIndexChanged, this, &MainView::followViewer);
    auto mediaChanged = [this] {
        if (m_viewer)
            m_viewer->setMedia(m_view->allItems());
        followViewer();
    };
    connect(view, &SessionState::photosChanged, this, mediaChanged);
    connect(view, &SessionState::videosChanged, this, mediaChanged);
    connect(view, &SessionState::rotationsChanged, this, [this] {
        if (m_viewer)
            m_viewer->refresh();
        if (m_bestShotConfirm)
            m_bestShotConfirm->setRotations(m_view->rotations());
    });
    connect(view, &SessionState::excludedIDsChanged, this, [this] {
        if (m_viewer)
            m_viewer->setExcludedIDs(m_view->excludedIDs());
    });
    connect(view, &SessionState::selectModeChanged, this, [this] {
        if (m_viewer)
            m_viewer->setSelectMode(m_view->selectMode());
    });
    connect(view->cardWatcher(), &CardWatcher::cardMissingChanged, this, &MainView::followCardMissing);
    connect(view, &SessionState::infoAlertChanged, this, &MainView::followInfoAlert);

    showScreen();
    followCardMissing();
}

MainView::~MainView() = default;

void MainView::showScreen()
{
    delete m_screen.data();
    m_screen = makeScreen();
    if (m_screen) {
        m_screen->setGeometry(rect());
        m_screen->show();
        m_screen->lower();
    }
}

QWidget *MainView::makeScreen()
{
    ContentView *view = m_view;
    MascotPauser &pauser = *view->activity();
    switch (view->screen()) {
    case Screen::welcome:
        return new WelcomeView({.onPick = [view] { view->spawnMainActorTask([view] { return view->pickFolder(); }); },
                                .onSettings = [view] { view->openSettings(Screen::welcome); }},
                               this, m_ticker, pauser);
    case Screen::validating:
        return new PreparingScreen({.startedAt = view->preparingStartedClock(), .isFinale = view->preparingFinale()},
                                   this, m_ticker, pauser);
    case Screen::validationResult: {
        if (!view->validationOutcome())
            return nullptr;
        ValidationScreen::Inputs inputs{ValidationScreen::Phase::result(*view->validationOutcome())};
        inputs.onProceed = [view] {
            if (view->validationOutcome())
                view->enterGrid(view->validationOutcome()->valid, true);
        };
        inputs.onRetry = [view] { view->goHome(); };
        return new ValidationScreen(std::move(inputs), this);
    }
    case Screen::grid:
        return new GridScreen(*view, this, m_ticker);
    case Screen::settings:
        return new SettingsScreen({.onBack = [view] { view->closeSettings(); }}, this);
    case Screen::converting:
        return new ConvertScreen({.coordinator = view->exportCoordinator(), .dateMode = view->dateModeChoice()}, this,
                                 m_ticker);
    case Screen::done:
        return makeDoneScreen();
    }
    return nullptr;
}

QWidget *MainView::makeDoneScreen()
{
    const std::optional<DoneScreen::Mode> mode = DoneScreen::Mode::fromPhase(m_view->exportCoordinator()->phase());
    if (!mode)
        return nullptr;
    ContentView *view = m_view;
    DoneScreen::Inputs inputs{*mode};
    inputs.libraryRoot = view->exportCoordinator()->photos().library().root();
    inputs.onRestart = [view] { view->spawnMainActorTask([view] { return view->returnHome(); }); };
    inputs.onBackToGrid = [view] { view->backToGrid(); };
    return new DoneScreen(std::move(inputs), this, DoneScreen::openWithDesktop, m_ticker);
}

void MainView::followSendConfirm()
{
    ContentView *view = m_view;
    const bool made = follow(m_sendConfirm, view->showingSendConfirm(), [&] {
        SendConfirmView::Inputs inputs;
        inputs.photoCount = countOutside(view->photos(), view->excludedIDs());
        inputs.videoCount = countOutside(view->videos(), view->excludedIDs());
        inputs.excludedCount = int(view->excludedIDs().size());
        inputs.dateMode = view->dateMode();
        inputs.onConfirm = [view] { view->confirmSend(); };
        inputs.onCancel = [view] { view->setShowingSendConfirm(false); };
        auto *confirm = new SendConfirmView(std::move(inputs), this, m_ticker);
        confirm->setFade(windowChange());
        return confirm;
    });
    if (made)
        restack();
}

void MainView::followToolProgress()
{
    const auto sync = [this](QPointer<ToolProgressOverlay> &slot,
                             const std::optional<SessionState::ToolProgress> &progress, const QString &title) {
        if (progress && slot)
            slot->setProgress(progress->done, progress->total);
        return follow(slot, progress.has_value(), [&] {
            return new ToolProgressOverlay(title, progress->done, progress->total, this, m_ticker);
        });
    };
    const bool rotateMade =
        sync(m_autoRotateProgress, m_view->autoRotateProgress(), ContentView::autoRotateProgressTitle());
    const bool bestMade = sync(m_bestShotProgress, m_view->bestShotProgress(), ContentView::bestShotProgressTitle());
    if (rotateMade || bestMade)
        restack();
}

void MainView::followRotateConfirm()
{
    ContentView *view = m_view;
    const bool made = follow(m_rotateConfirm, view->showingRotateConfirm(), [&] {
        RotateConfirmView::Inputs inputs{view->rotateSuggestionsBinding(), [view] { view->applyRotations(); },
                                         [view] { view->cancelRotate(); }};
        // Shown and taken away at once: no change of the window animates it.
        auto *confirm = new RotateConfirmView(std::move(inputs), this, m_ticker);
        confirm->setFade(std::nullopt);
        return confirm;
    });
    if (made)
        restack();
}

void MainView::followBestShotConfirm()
{
    ContentView *view = m_view;
    const bool made = follow(m_bestShotConfirm, view->showingBestShotConfirm(), [&] {
        BestShotConfirmView::Inputs inputs{view->bestShotGroupsBinding(), view->rotations(),
                                           [view] { view->applyBestShot(); }, [view] { view->cancelBestShot(); }};
        auto *confirm = new BestShotConfirmView(std::move(inputs), this, m_ticker);
        confirm->setFade(std::nullopt);
        return confirm;
    });
    if (made)
        restack();
}

void MainView::followSelectionConfirms()
{
    ContentView *view = m_view;
    const int count = int(view->selectedIDs().size());
    bool made = follow(m_excludeConfirm, view->showingExcludeConfirm(), [&] {
        auto *confirm = new ExcludeConfirmView({count, [view] { view->applyExclude(); },
                                                [view] { view->setShowingExcludeConfirm(false); }},
                                               this, m_ticker);
        confirm->setFade(windowChange());
        return confirm;
    });
    made = follow(m_includeConfirm, view->showingIncludeConfirm(), [&] {
        auto *confirm = new IncludeConfirmView({count, [view] { view->applyInclude(); },
                                                [view] { view->setShowingIncludeConfirm(false); }},
                                               this, m_ticker);
        confirm->setFade(windowChange());
        return confirm;
    }) || made;
    if (made)
        restack();
}

void MainView::followViewer()
{
    ContentView *view = m_view;
    const std::optional<int> index = view->viewerIndex();
    // An index outside the items shows no viewer but stays as it is.
    const bool wanted = index && *index >= 0 && *index < view->allItems().size();
    if (wanted && m_viewer) {
        m_viewer->refresh();
        return;
    }
    const bool made = follow(m_viewer, wanted, [&] {
        ViewerView::Inputs inputs;
        inputs.media = view->allItems();
        inputs.index = view->viewerIndexBinding();
        inputs.rotations = view->rotationsBinding();
        inputs.excludedIDs = view->excludedIDs();
        inputs.selectedIDs = view->selectedIDsBinding();
        inputs.selectMode = view->selectMode();
        inputs.onClose = [view] { view->closeViewer(); };
        auto *viewer = new ViewerView(std::move(inputs), this, m_ticker);
        viewer->setFade(windowChange());
        return viewer;
    });
    if (made)
        restack();
}

void MainView::followCardMissing()
{
    const Screen screen = m_view->screen();
    const bool covers = screen != Screen::welcome && screen != Screen::converting && screen != Screen::done;
    ContentView *view = m_view;
    const bool made = follow(m_cardMissing, view->isCardMissing() && covers, [&] {
        auto *layer = new OverlayLayer(this, windowChange(), m_ticker);
        auto *fill = new QVBoxLayout(layer);
        fill->setContentsMargins(0, 0, 0, 0);
        fill->addWidget(new CardMissingScreen({.onGoHome = [view] { view->goHome(); }}, layer, m_ticker,
                                              *view->activity()));
        return layer;
    });
    if (made)
        restack();
}

void MainView::followInfoAlert()
{
    const bool raised = m_view->infoAlert().has_value();
    if (!raised) {
        if (m_infoAlert)
            m_infoAlert->close();
        return;
    }
    if (m_infoAlert)
        m_infoAlert->close();
    auto *box = new QMessageBox(QMessageBox::Information, m_view->infoAlertTitle(), m_view->infoAlertTitle(),
                                QMessageBox::Ok, this);
    box->setInformativeText(m_view->infoAlertMessage());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    ContentView *view = m_view;
    QPointer<QMessageBox> shown = box;
    connect(box, &QMessageBox::finished, this, [this, view, shown] {
        // Only the alert on screen may dismiss the one raised now.
        if (shown != m_infoAlert)
            return;
        m_infoAlert = nullptr;
        view->infoAlertPresentedBinding().set(false);
    });
    m_infoAlert = box;
    box->open();
}

void MainView::restack()
{
    // Bottom to top; the screen stays below all of them.
    const QList<QWidget *> order{m_sendConfirm,     m_autoRotateProgress, m_rotateConfirm,
                                 m_bestShotProgress, m_bestShotConfirm,    m_excludeConfirm,
                                 m_includeConfirm,   m_viewer,             m_cardMissing};
    for (QWidget *layer : order)
        if (layer)
            layer->raise();
}

void MainView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_screen)
        m_screen->setGeometry(rect());
}

ContentView *MainView::controller() const
{
    return m_view;
}

QWidget *MainView::screenWidget() const
{
    return m_screen;
}

SendConfirmView *MainView::sendConfirm() const
{
    return m_sendConfirm;
}

ToolProgressOverlay *MainView::autoRotateProgress() const
{
    return m_autoRotateProgress;
}

RotateConfirmView *MainView::rotateConfirm() const
{
    return m_rotateConfirm;
}

ToolProgressOverlay *MainView::bestShotProgress() const
{
    return m_bestShotProgress;
}

BestShotConfirmView *MainView::bestShotConfirm() const
{
    return m_bestShotConfirm;
}

ExcludeConfirmView *MainView::excludeConfirm() const
{
    return m_excludeConfirm;
}

IncludeConfirmView *MainView::includeConfirm() const
{
    return m_includeConfirm;
}

ViewerView *MainView::viewer() const
{
    return m_viewer;
}

OverlayLayer *MainView::cardMissing() const
{
    return m_cardMissing;
}

QMessageBox *MainView::infoAlert() const
{
    return m_infoAlert;
}

} // namespace pomelark
