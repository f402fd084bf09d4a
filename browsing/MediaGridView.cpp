#include "browsing/MediaGridView.h"

#include "browsing/EdgeScroll.h"
#include "browsing/GridClickRule.h"
#include "browsing/PhotoThumbnail.h"
#include "browsing/VideoTile.h"
#include "browsing/MarqueePainter.h"
#include "look/Palette.h"
#include "look/ScrollIndicators.h"
#include "services/PlaybackPrewarmer.h"

#include <QCursor>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <cmath>

namespace pomelark {

namespace {

// A press becomes a marquee drag once the pointer has moved this far.
constexpr qreal dragThreshold = 4;
// Tiles are made one row beyond the visible ones and dropped four rows beyond,
// so a small scroll back and forth does not reload pictures.
constexpr int madeRows = 1;
constexpr int keptRows = 4;
// How far a tile's shadow and lift reach beyond its frame.
constexpr qreal tileReach = 28;
constexpr int wheelStep = 40;

} // namespace

MediaGridView::MediaGridView(Inputs inputs, QWidget *parent, TileSources sources)
    : QAbstractScrollArea(parent), m_inputs(std::move(inputs)), m_sources(std::move(sources)),
      m_loads([this] {
          admitWantedLoads();
          m_scroll.moving = false;
      })
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ScrollIndicators::apply(this);
    verticalScrollBar()->setSingleStep(wheelStep);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    m_autoScroll.setInterval(EdgeScroll::tickMilliseconds);
    connect(&m_autoScroll, &QTimer::timeout, this, [this] {
        if (!m_marquee.isActive()) {
            stopAutoScroll();
            return;
        }
        autoScrollStep();
    });
    m_pointer = [this] { return QPointF(viewport()->mapFromGlobal(QCursor::pos())); };
    m_selected = boundSelection();
    setMedia(m_inputs.photos, m_inputs.videos);
}

MediaGridView::~MediaGridView()
{
    // Tiles are children; disconnect them first so their last signals find no grid.
    for (GridTile *tile : std::as_const(m_tiles))
        tile->disconnect(this);
}

void MediaGridView::setMedia(MediaItems photos, MediaItems videos)
{
    m_inputs.photos = std::move(photos);
    m_inputs.videos = std::move(videos);
    m_items = m_inputs.photos + m_inputs.videos;
    m_indexOf.clear();
    for (int index = 0; index < m_items.size(); ++index)
        m_indexOf.insert(m_items[index].id, index);
    for (auto it = m_tiles.begin(); it != m_tiles.end();) {
        const int index = m_indexOf.value(it.key(), -1);
        // A tile stays only for the same file of the same kind.
        const bool same = index >= 0 && [&] {
            if (auto *photo = qobject_cast<PhotoThumbnail *>(*it))
                return m_items[index].kind == MediaItem::Kind::photo && photo->url() == m_items[index].url;
            auto *video = qobject_cast<VideoTile *>(*it);
            return video && video->item() == m_items[index];
        }();
        if (same) {
            ++it;
            continue;
        }
        it = dropTile(it);
    }
    if (m_hovered && !m_indexOf.contains(*m_hovered))
        m_hovered.reset();
    relayout();
}

void MediaGridView::setRotations(QHash<QUuid, int> rotations)
{
    m_inputs.rotations = std::move(rotations);
    for (auto it = m_tiles.cbegin(); it != m_tiles.cend(); ++it)
        if (auto *photo = qobject_cast<PhotoThumbnail *>(*it))
            photo->setRotationDegrees(m_inputs.rotations.value(it.key(), 0));
}

void MediaGridView::setExcludedIDs(QSet<QUuid> excludedIDs)
{
    m_inputs.excludedIDs = std::move(excludedIDs);
    updateTileFlags();
}

void MediaGridView::setSelectMode(bool selectMode)
{
    if (selectMode == m_inputs.selectMode)
        return;
    m_inputs.selectMode = selectMode;
    if (!selectMode) {
        stopAutoScroll();
        m_marquee.cancel();
        m_dragging = false;
        viewport()->update();
    }
    updateTileFlags();
}

void MediaGridView::refresh()
{
    m_selected = boundSelection();
    updateTileFlags();
}

QSet<QUuid> MediaGridView::boundSelection() const
{
    return m_inputs.selectedIDs.get ? m_inputs.selectedIDs.get() : QSet<QUuid>();
}

QRectF MediaGridView::tileFrame(const QUuid &id) const
{
    const int index = m_indexOf.value(id, -1);
    return index < 0 ? QRectF() : m_layout.tileFrame(index);
}

qreal MediaGridView::scrollOffset() const
{
    return verticalScrollBar()->value();
}

QPointF MediaGridView::toGrid(QPointF viewportPoint) const
{
    return GridLayout::toGrid(viewportPoint, scrollOffset());
}

QPointF MediaGridView::toViewport(QPointF gridPoint) const
{
    return GridLayout::toViewport(gridPoint, scrollOffset());
}

std::optional<int> MediaGridView::indexAt(QPointF gridPoint) const
{
    return m_layout.indexAt(gridPoint);
}

std::optional<QUuid> MediaGridView::idAt(QPointF gridPoint) const
{
    const auto index = indexAt(gridPoint);
    return index ? std::optional<QUuid>(m_items[*index].id) : std::nullopt;
}

QSet<QUuid> MediaGridView::hitsIn(const QRectF &rect) const
{
    QSet<QUuid> hits;
    const GridLayout::Range range = m_layout.indicesIn(rect.top(), rect.bottom());
    for (int index = range.first; index < range.end; ++index)
        if (MarqueeSelection::meets(m_layout.tileFrame(index), rect))
            hits.insert(m_items[index].id);
    return hits;
}

void MediaGridView::handleTap(int index, Qt::KeyboardModifiers modifiers)
{
    if (index < 0 || index >= m_items.size())
        return;
    const QUuid id = m_items[index].id;
    switch (GridClickRule::decide(modifiers, m_inputs.selectMode)) {
    case GridClickRule::Action::open:
        if (m_inputs.onOpen)
            m_inputs.onOpen(index);
        return;
    case GridClickRule::Action::enterSelectThenToggle:
        if (m_inputs.onEnterSelect)
            m_inputs.onEnterSelect();
        toggleSelection(id);
        return;
    case GridClickRule::Action::toggle:
        toggleSelection(id);
        return;
    }
}

void MediaGridView::toggleSelection(const QUuid &id)
{
    if (!m_inputs.selectedIDs.set)
        return;
    m_inputs.selectedIDs.set(GridClickRule::toggled(m_inputs.selectedIDs.get(), id));
    refresh();
}

void MediaGridView::marqueeChanged(QPointF start, QPointF current)
{
    const bool first = !m_marquee.isActive();
    const std::optional<QUuid> tileAtStart = first ? idAt(start) : std::nullopt;
    // A pointer position already includes any scroll since the last tick; the
    // next tick must not add that scroll to it a second time.
    m_lastClipOrigin = scrollOffset();
    m_marquee.dragChanged(start, current, tileAtStart, boundSelection(), [this](const QRectF &r) { return hitsIn(r); });
    viewport()->update();
    startAutoScroll();
}

void MediaGridView::marqueeEnded()
{
    stopAutoScroll();
    const std::optional<QSet<QUuid>> next = m_marquee.dragEnded(boundSelection());
    viewport()->update();
    if (next && m_inputs.selectedIDs.set) {
        m_inputs.selectedIDs.set(*next);
        refresh();
    }
}

void MediaGridView::startAutoScroll()
{
    if (!m_autoScroll.isActive())
        m_autoScroll.start();
}

void MediaGridView::stopAutoScroll()
{
    m_autoScroll.stop();
}

void MediaGridView::autoScrollStep()
{
    if (!m_marquee.isActive())
        return;
    const qreal origin = scrollOffset();
    if (const qreal dy = origin - m_lastClipOrigin; dy != 0) {
        // The pointer stands still while the content moves under it.
        m_marquee.shift(QPointF(0, dy), [this](const QRectF &r) { return hitsIn(r); });
        viewport()->update();
    }
    m_lastClipOrigin = origin;
    if (!isVisible() || !m_pointer)
        return;
    const qreal height = viewport()->height();
    const double speed = EdgeScroll::speed(m_pointer().y(), height);
    if (speed == 0)
        return;
    // The scroll bar keeps whole pixels; the exact position carries the
    // fractions of slow ticks over to the next one.
    const qreal from = std::lround(m_exactOffset) == verticalScrollBar()->value() ? m_exactOffset : origin;
    m_exactOffset = EdgeScroll::nextOffset(from, speed, m_layout.documentHeight(height), height);
    verticalScrollBar()->setValue(int(std::lround(m_exactOffset)));
}

void MediaGridView::relayout()
{
    m_layout = GridLayout(viewport()->width(), int(m_items.size()));
    const int height = viewport()->height();
    verticalScrollBar()->setPageStep(height);
    verticalScrollBar()->setRange(0, int(std::ceil(m_layout.documentHeight(height))) - height);
    syncTiles();
    viewport()->update();
}

void MediaGridView::syncTiles()
{
    const qreal top = scrollOffset() - GridLayout::verticalPadding;
    const qreal bottom = top + viewport()->height();
    const GridLayout::Range made = m_layout.indicesIn(top, bottom, madeRows);
    const GridLayout::Range kept = m_layout.indicesIn(top, bottom, keptRows);
    for (auto it = m_tiles.begin(); it != m_tiles.end();) {
        it = kept.contains(m_indexOf.value(it.key(), -1)) ? std::next(it) : dropTile(it);
    }
    // Tiles waiting already go first; the ones made now are the row beyond the
    // screen, unless the grid jumped.
    admitWantedLoads();
    for (int index = made.first; index < made.end; ++index)
        if (!m_tiles.contains(m_items[index].id))
            m_tiles.insert(m_items[index].id, makeTile(index));
}

void MediaGridView::admitWantedLoads()
{
    const qreal top = scrollOffset() - GridLayout::verticalPadding;
    QList<QUuid> ids;
    for (const int index : TileLoadOrder::indices(m_layout, top, top + viewport()->height(), m_scroll, madeRows))
        ids.append(m_items[index].id);
    m_loads.admit(ids);
}

QHash<QUuid, GridTile *>::iterator MediaGridView::dropTile(QHash<QUuid, GridTile *>::iterator it)
{
    if (m_hovered == it.key())
        m_hovered.reset();
    m_loads.drop(it.key());
    (*it)->disconnect(this);
    (*it)->deleteLater();
    return m_tiles.erase(it);
}

GridTile *MediaGridView::makeTile(int index)
{
    const MediaItem &item = m_items[index];
    const QUuid id = item.id;
    const TileLoadGate::Loaders sources = m_loads.sourcesFor(m_sources, id);
    const GridTile::Flags flags = flagsFor(id);
    // Tiles report their clicks by id: the index may have moved by the time they do.
    auto onActivate = [this, id] { handleTap(m_indexOf.value(id, -1), m_clickModifiers); };
    auto onToggle = [this, id] { toggleSelection(id); };
    GridTile *tile = nullptr;
    if (item.kind == MediaItem::Kind::photo)
        tile = new PhotoThumbnail(item.url, m_inputs.rotations.value(id, 0), flags, onActivate, onToggle,
                                  sources.thumbnail, this);
    else
        tile = new VideoTile(item, m_inputs.prewarmer, flags, onActivate, onToggle, sources.videoInfo, this);
    connect(tile, &GridTile::changed, this, [this, id] { repaintTile(id); });
    if (m_hovered == id)
        tile->setHover(true);
    return tile;
}

void MediaGridView::updateTileFlags()
{
    for (auto it = m_tiles.cbegin(); it != m_tiles.cend(); ++it)
        (*it)->setFlags(flagsFor(it.key()));
}

GridTile::Flags MediaGridView::flagsFor(const QUuid &id) const
{
    return {m_inputs.excludedIDs.contains(id), m_selected.contains(id), m_inputs.selectMode};
}

void MediaGridView::repaintTile(const QUuid &id)
{
    const QRectF frame = tileFrame(id);
    if (frame.isEmpty())
        return;
    const QRectF area(toViewport(frame.topLeft()), frame.size());
    viewport()->update(area.adjusted(-tileReach, -tileReach, tileReach, tileReach).toAlignedRect());
}

void MediaGridView::setHovered(std::optional<QUuid> id)
{
    if (id == m_hovered)
        return;
    if (m_hovered)
        if (GridTile *old = m_tiles.value(*m_hovered))
            old->setHover(false);
    m_hovered = id;
    if (m_hovered)
        if (GridTile *now = m_tiles.value(*m_hovered))
            now->setHover(true);
}

void MediaGridView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void MediaGridView::scrollContentsBy(int, int dy)
{
    // Content moving up is the grid scrolling down; a stop keeps the last way.
    if (dy != 0)
        m_scroll = {.towardsEnd = dy < 0, .moving = true};
    syncTiles();
    // The content moved under a still pointer: the tile under it changed.
    if (viewport()->underMouse()) {
        setHovered(idAt(toGrid(viewport()->mapFromGlobal(QCursor::pos()))));
    }
    viewport()->update();
}

void MediaGridView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), Palette::background());
    const QRectF dirty = QRectF(event->rect()).adjusted(-tileReach, -tileReach, tileReach, tileReach);
    const qreal top = toGrid(dirty.topLeft()).y();
    const GridLayout::Range visible = m_layout.indicesIn(top, top + dirty.height());
    for (int index = visible.first; index < visible.end; ++index) {
        GridTile *tile = m_tiles.value(m_items[index].id);
        if (!tile)
            continue;
        painter.save();
        painter.translate(toViewport(m_layout.tileFrame(index).topLeft()));
        tile->paint(painter);
        painter.restore();
    }
    if (m_marquee.isVisible()) {
        const QString count = m_marquee.hitIDs().isEmpty()
                                  ? QString()
                                  : marqueeCountText(m_marquee.marquee()->deselect, m_marquee.hitIDs().size());
        MarqueePainter::paint(painter, QRectF(toViewport(m_marquee.rect().topLeft()), m_marquee.rect().size()), count,
                              QRectF(viewport()->rect()));
    }
}

QString MediaGridView::marqueeCountText(bool deselect, qsizetype count)
{
    return deselect ? tr("Deselect %1").arg(count) : tr("Select %1").arg(count);
}

void MediaGridView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_pressPoint = toGrid(event->position());
    m_dragging = false;
    event->accept();
}

void MediaGridView::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF point = toGrid(event->position());
    setHovered(idAt(point));
    if (!m_pressPoint || !(event->buttons() & Qt::LeftButton) || !m_inputs.selectMode)
        return;
    if (!m_dragging && std::hypot(point.x() - m_pressPoint->x(), point.y() - m_pressPoint->y()) < dragThreshold)
        return;
    m_dragging = true;
    marqueeChanged(*m_pressPoint, point);
}

void MediaGridView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressPoint) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    const bool dragged = m_dragging;
    const QPointF pressed = *m_pressPoint;
    m_pressPoint.reset();
    m_dragging = false;
    if (dragged) {
        marqueeEnded();
        return;
    }
    // A click is a press and a release on the same tile.
    const QPointF point = toGrid(event->position());
    const auto index = indexAt(point);
    if (!index || index != indexAt(pressed))
        return;
    if (GridTile *tile = m_tiles.value(m_items[*index].id)) {
        m_clickModifiers = event->modifiers();
        tile->click(point - m_layout.tileFrame(*index).topLeft());
    }
}

bool MediaGridView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Leave)
        setHovered(std::nullopt);
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QPointF point = toGrid(help->pos());
        QString text;
        if (const auto index = indexAt(point))
            if (GridTile *tile = m_tiles.value(m_items[*index].id))
                text = tile->helpAt(point - m_layout.tileFrame(*index).topLeft());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

} // namespace pomelark
