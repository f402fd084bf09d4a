#pragma once

#include "look/Presence.h"

#include <QPointer>
#include <QWidget>

class QAction;

namespace pomelark {

class ContentView;
class InactiveCover;
class MediaGridView;
class SelectionBar;
class ToolbarView;

/// The grid screen: the toolbar over the grid, the selection bar that slides
/// up from the bottom in select mode, the hidden Select All command, and the
/// frosted cover while the app is in the background. It follows the session
/// controller's changes and hands every decision back to it.
class GridScreen : public QWidget {
    Q_OBJECT
public:
    /// How long the selection bar and the cover take to come and go.
    static constexpr double changeSeconds = 0.25;

    explicit GridScreen(ContentView &view, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());
    ~GridScreen() override;

    ToolbarView *toolbar() const;
    MediaGridView *grid() const;
    /// The selection bar while it is there (also while it slides away).
    SelectionBar *selectionBar() const;
    InactiveCover *cover() const;
    /// Ctrl+A; enabled only while the viewer is closed.
    QAction *selectAllAction() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void followSelectMode();
    void followActivity();
    void placeSelectionBar();
    void updateCounts();

    ContentView &m_view;
    FrameTicker &m_ticker;
    ToolbarView *m_toolbar = nullptr;
    MediaGridView *m_grid = nullptr;
    QPointer<SelectionBar> m_selectionBar;
    Presence m_selectionBarPresence;
    QPointer<InactiveCover> m_cover;
    QAction *m_selectAll = nullptr;
};

} // namespace pomelark
