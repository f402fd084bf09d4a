#include "app/GridScreen.h"

#include "app/ContentView.h"
#include "app/InactiveCover.h"
#include "app/ToolbarView.h"
#include "browsing/MediaGridView.h"
#include "browsing/SelectionBar.h"

#include <QAction>
#include <QVBoxLayout>

namespace pomelark {

GridScreen::GridScreen(ContentView &view, QWidget *parent, FrameTicker &ticker)
    : QWidget(parent),
      m_view(view),
      m_ticker(ticker),
      m_selectionBarPresence(Transition::moveFrom(Transition::Edge::Bottom), ticker)
{
    ContentView *controller = &view;
    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);

    ToolbarView::Inputs toolbar;
    toolbar.folderPath = view.sourceFolderPath();
    toolbar.skippedCount = 0;
    toolbar.selectMode = view.selectMode();
    toolbar.onPickFolder = [controller] { controller->spawnMainActorTask([controller] { return controller->pickFolder(); }); };
    toolbar.onAutoRotate = [controller] { controller->autoRotateTapped(); };
    toolbar.onBestShot = [controller] { controller->bestShotTapped(); };
    toolbar.onToggleSelect = [controller] { controller->toggleSelectMode(); };
    toolbar.onSendToPhotos = [controller] { controller->setShowingSendConfirm(true); };
    toolbar.onSettings = [controller] { controller->openSettings(ContentView::Screen::grid); };
    m_toolbar = new ToolbarView(std::move(toolbar), this, ticker);

    MediaGridView::Inputs grid;
    grid.photos = view.photos();
    grid.videos = view.videos();
    grid.rotations = view.rotations();
    grid.excludedIDs = view.excludedIDs();
    grid.selectedIDs = view.selectedIDsBinding();
    grid.selectMode = view.selectMode();
    grid.prewarmer = view.playbackPrewarmer();
    grid.onEnterSelect = [controller] { controller->enterSelectMode(); };
    grid.onOpen = [controller](int at) { controller->openViewer(at); };
    m_grid = new MediaGridView(std::move(grid), this);

    stack->addWidget(m_toolbar);
    stack->addWidget(m_grid, 1);
    // The toolbar's mascot may reach below its bar, over the grid.
    m_toolbar->raise();
    updateCounts();

    // Hidden Select All: works anywhere on the grid screen, but not while the viewer is open.
    m_selectAll = new QAction(tr("Select All"), this);
    m_selectAll->setShortcut(QKeySequence::SelectAll);
    m_selectAll->setShortcutContext(Qt::WindowShortcut);
    m_selectAll->setEnabled(!view.viewerIndex());
    connect(m_selectAll, &QAction::triggered, this, [controller] { controller->selectAll(); });
    addAction(m_selectAll);

    connect(&view, &SessionState::photosChanged, this, &GridScreen::updateCounts);
    connect(&view, &SessionState::videosChanged, this, &GridScreen::updateCounts);
    connect(&view, &SessionState::sourceFolderPathChanged, this,
            [this] { m_toolbar->setFolderPath(m_view.sourceFolderPath()); });
    connect(&view, &SessionState::rotationsChanged, this, [this] { m_grid->setRotations(m_view.rotations()); });
    connect(&view, &SessionState::excludedIDsChanged, this, [this] { m_grid->setExcludedIDs(m_view.excludedIDs()); });
    connect(&view, &SessionState::selectedIDsChanged, this, [this] {
        m_grid->refresh();
        if (m_selectionBar)
            m_selectionBar->setCount(int(m_view.selectedIDs().size()));
        placeSelectionBar();
    });
    connect(&view, &SessionState::selectModeChanged, this, &GridScreen::followSelectMode);
    connect(&view, &SessionState::viewerIndexChanged, this,
            [this] { m_selectAll->setEnabled(!m_view.viewerIndex()); });

    m_selectionBarPresence.setOnChange([this] { placeSelectionBar(); });
    if (view.selectMode())
        followSelectMode();

    MascotPauser *activity = view.activity();
    connect(activity, &MascotPauser::appActiveChanged, this, &GridScreen::followActivity);
    connect(activity, &MascotPauser::windowVisibleChanged, this, &GridScreen::followActivity);
    followActivity();
}

GridScreen::~GridScreen() = default;

void GridScreen::updateCounts()
{
    m_grid->setMedia(m_view.photos(), m_view.videos());
    m_toolbar->setPhotoCount(int(m_view.photos().size()));
    m_toolbar->setVideoCount(int(m_view.videos().size()));
    m_toolbar->setHasMedia(!m_view.photos().isEmpty() || !m_view.videos().isEmpty());
}

void GridScreen::followSelectMode()
{
    const bool selecting = m_view.selectMode();
    m_toolbar->setSelectMode(selecting);
    m_grid->setSelectMode(selecting);
    m_grid->refresh();
    const Animation change = Animation::easeOut(changeSeconds);
    if (selecting) {
        if (!m_selectionBar) {
            ContentView *controller = &m_view;
            SelectionBar::Inputs bar;
            bar.count = int(m_view.selectedIDs().size());
            bar.onExclude = [controller] { controller->setShowingExcludeConfirm(true); };
            bar.onInclude = [controller] { controller->setShowingIncludeConfirm(true); };
            bar.onClear = [controller] { controller->clearSelection(); };
            bar.onDone = [controller] { controller->finishSelecting(); };
            m_selectionBar = new SelectionBar(std::move(bar), this);
            m_selectionBar->show();
        }
        m_selectionBar->setCount(int(m_view.selectedIDs().size()));
        m_selectionBarPresence.insert(change);
    } else {
        m_selectionBarPresence.remove(change);
    }
    placeSelectionBar();
}

void GridScreen::placeSelectionBar()
{
    if (!m_selectionBar)
        return;
    if (!m_selectionBarPresence.isVisible()) {
        m_selectionBar->deleteLater();
        m_selectionBar = nullptr;
        return;
    }
    const QSize size = m_selectionBar->sizeHint();
    const Transition::Frame frame = m_selectionBarPresence.frame(QSizeF(size));
    const QPoint resting((width() - size.width()) / 2, height() - size.height());
    m_selectionBar->setGeometry(QRect(resting + frame.offset.toPoint(), size));
    m_selectionBar->setOpacity(frame.opacity);
    m_selectionBar->raise();
    if (m_cover)
        m_cover->raise();
}

void GridScreen::followActivity()
{
    MascotPauser *activity = m_view.activity();
    const bool covered = !(activity->appActive() && activity->windowVisible());
    if (covered) {
        if (m_cover && !m_cover->isLeaving())
            return;
        m_cover = new InactiveCover(this, m_ticker);
        m_cover->refreshBackdrop();
        m_cover->show();
        m_cover->raise();
    } else if (m_cover) {
        m_cover->leave();
        m_cover = nullptr;
    }
}

void GridScreen::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeSelectionBar();
}

ToolbarView *GridScreen::toolbar() const
{
    return m_toolbar;
}

MediaGridView *GridScreen::grid() const
{
    return m_grid;
}

SelectionBar *GridScreen::selectionBar() const
{
    return m_selectionBar;
}

InactiveCover *GridScreen::cover() const
{
    return m_cover;
}

QAction *GridScreen::selectAllAction() const
{
    return m_selectAll;
}

} // namespace pomelark
