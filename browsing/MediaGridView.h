#pragma once

#include "browsing/GridLayout.h"
#include "browsing/GridTile.h"
#include "browsing/MarqueeSelection.h"
#include "browsing/TileLoadGate.h"
#include "browsing/TileLoadOrder.h"
#include "browsing/TileSources.h"
#include "look/Binding.h"
#include "services/MediaItem.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QSet>
#include <QTimer>
#include <QUuid>

#include <functional>
#include <optional>

namespace pomelark {

class PlaybackPrewarmer;

/// The body of the grid screen: a vertically scrolling grid of 120 px tiles,
/// the session's photos first and its videos after them. A click opens the
/// viewer at the item, a Ctrl-click toggles it in the selection (entering
/// select mode first), and in select mode a drag draws a marquee that adds or
/// removes the tiles it covers when it ends, scrolling by itself near the top
/// and bottom edges. The grid writes nothing but the selection, through its
/// binding.
///
/// Tiles are painted into the viewport, not made as widgets: only the rows on
/// screen (and one more each side) have a tile object, which is dropped once it
/// is a few rows away. A tile starts loading its picture only once it is on
/// screen or in the row the grid scrolls into, a few tiles at a time and from
/// the edge the grid scrolls towards (see TileLoadGate and TileLoadOrder).
class MediaGridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    struct Inputs {
        MediaItems photos;
        MediaItems videos;
        QHash<QUuid, int> rotations;
        QSet<QUuid> excludedIDs;
        Binding<QSet<QUuid>> selectedIDs;
        bool selectMode = false;
        PlaybackPrewarmer *prewarmer = nullptr;
        std::function<void()> onEnterSelect;
        std::function<void(int)> onOpen;
    };

    explicit MediaGridView(Inputs inputs, QWidget *parent = nullptr, TileSources sources = TileSources::shared());
    ~MediaGridView() override;

    /// New items (a new session): tiles of items no longer there go away.
    void setMedia(MediaItems photos, MediaItems videos);
    void setRotations(QHash<QUuid, int> rotations);
    void setExcludedIDs(QSet<QUuid> excludedIDs);
    /// Leaving select mode drops a marquee under way without changing the selection.
    void setSelectMode(bool selectMode);
    /// Re-reads the selection binding.
    void refresh();

    /// Photos then videos: the order of the tiles and of the viewer's indices.
    const MediaItems &items() const { return m_items; }
    const GridLayout &layout() const { return m_layout; }
    /// The tile's frame in grid coordinates (inside the padding, not moved by
    /// scrolling); empty for an id not in the grid.
    QRectF tileFrame(const QUuid &id) const;
    /// The tile object of the item, while one exists (near the visible rows).
    GridTile *tile(const QUuid &id) const { return m_tiles.value(id); }
    /// The tile of the item is waiting for its turn to load its picture.
    bool isTileLoadWaiting(const QUuid &id) const { return m_loads.isWaiting(id); }
    int tileCount() const { return int(m_tiles.size()); }
    const MarqueeSelection &marquee() const { return m_marquee; }
    bool isAutoScrolling() const { return m_autoScroll.isActive(); }
    qreal scrollOffset() const;

    /// The click rule for the tile at `index` with `modifiers` held.
    void handleTap(int index, Qt::KeyboardModifiers modifiers);
    /// Adds the id to the selection or removes it.
    void toggleSelection(const QUuid &id);
    /// A marquee drag moved (grid coordinates); the first call starts the marquee.
    void marqueeChanged(QPointF start, QPointF current);
    /// The marquee drag ended: its hits join or leave the selection.
    void marqueeEnded();
    /// One tick of edge scrolling: follows content that scrolled under the
    /// pointer, then scrolls when the pointer is near the top or bottom edge.
    void autoScrollStep();
    /// Where the pointer is, in viewport coordinates, for edge scrolling; the
    /// app reads the cursor, tests put the pointer where they like.
    void setPointerSource(std::function<QPointF()> source) { m_pointer = std::move(source); }

    /// The marquee's count label: "Select 3" or "Deselect 3".
    static QString marqueeCountText(bool deselect, qsizetype count);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    QPointF toGrid(QPointF viewportPoint) const;
    QPointF toViewport(QPointF gridPoint) const;
    QSet<QUuid> hitsIn(const QRectF &rect) const;
    std::optional<int> indexAt(QPointF gridPoint) const;
    std::optional<QUuid> idAt(QPointF gridPoint) const;
    QSet<QUuid> boundSelection() const;
    GridTile::Flags flagsFor(const QUuid &id) const;
    void relayout();
    void syncTiles();
    /// Hands the load gate the tiles on screen and the row beyond, in TileLoadOrder.
    void admitWantedLoads();
    QHash<QUuid, GridTile *>::iterator dropTile(QHash<QUuid, GridTile *>::iterator it);
    GridTile *makeTile(int index);
    void updateTileFlags();
    void repaintTile(const QUuid &id);
    void setHovered(std::optional<QUuid> id);
    void startAutoScroll();
    void stopAutoScroll();

    Inputs m_inputs;
    TileSources m_sources;
    MediaItems m_items;
    QHash<QUuid, int> m_indexOf;
    QSet<QUuid> m_selected;
    GridLayout m_layout;
    QHash<QUuid, GridTile *> m_tiles;
    TileLoadGate m_loads;
    std::optional<QUuid> m_hovered;

    MarqueeSelection m_marquee;
    QTimer m_autoScroll;
    qreal m_lastClipOrigin = 0;
    qreal m_exactOffset = 0;
    /// The way the grid last scrolled; until the first scroll it loads from the
    /// top (nothing lies above the first row, so this also reads top to bottom).
    /// It counts as moving when it scrolled since a load last made room, so the
    /// row it scrolls into loads first.
    TileLoadOrder::Scroll m_scroll;
    std::function<QPointF()> m_pointer;

    std::optional<QPointF> m_pressPoint;
    bool m_dragging = false;
    Qt::KeyboardModifiers m_clickModifiers;
};

} // namespace pomelark
