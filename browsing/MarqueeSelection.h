#pragma once

#include <QPointF>
#include <QRectF>
#include <QSet>
#include <QUuid>

#include <functional>
#include <optional>

namespace pomelark {

/// The rubber-band selection of the media grid, without any drawing.
///
/// A drag creates one marquee on its first change. Whether the drop adds or
/// removes is fixed then, by the tile under the start point: a selected tile
/// makes it remove, anything else (an unselected tile, a gap, the padding)
/// makes it add. The selection changes only once, when the drag ends, by the
/// tiles last hit. All points are grid coordinates.
class MarqueeSelection {
public:
    struct Marquee {
        QPointF start;
        QPointF current;
        bool deselect = false;
    };
    /// The ids whose tile frame meets a rectangle.
    using HitTest = std::function<QSet<QUuid>(const QRectF &)>;

    /// The normalised rectangle spanned by two corners.
    static QRectF rectBetween(QPointF a, QPointF b);
    /// Whether two rectangles share any point inside both; a rectangle of zero
    /// width or height still meets one it lies across.
    static bool meets(const QRectF &a, const QRectF &b);

    bool isActive() const { return m_marquee.has_value(); }
    const std::optional<Marquee> &marquee() const { return m_marquee; }
    const QSet<QUuid> &hitIDs() const { return m_hitIDs; }
    /// The marquee's rectangle; empty while there is none.
    QRectF rect() const;
    /// Whether there is anything to draw: a marquee whose width plus height
    /// exceeds 1.
    bool isVisible() const;

    /// A drag moved. The first call of a drag creates the marquee, with
    /// `tileAtStart` (the tile under `start`, if any) and `selected` deciding
    /// its mode; later calls only move its current point. Hits are recomputed.
    void dragChanged(QPointF start, QPointF current, std::optional<QUuid> tileAtStart, const QSet<QUuid> &selected,
                     const HitTest &hitTest);
    /// The content scrolled under a still pointer: the current point moves by
    /// `delta` and the hits are recomputed. Nothing happens without a marquee.
    void shift(QPointF delta, const HitTest &hitTest);
    /// Recomputes the hits (tile frames changed). Nothing happens without a marquee.
    void updateHits(const HitTest &hitTest);
    /// The drag ended: returns the new selection when the drop changes what is
    /// hit (added, or removed in deselect mode), nothing when there was no
    /// marquee or no hit. Always returns to idle.
    std::optional<QSet<QUuid>> dragEnded(const QSet<QUuid> &selected);
    /// Drops the marquee without touching the selection.
    void cancel();

private:
    std::optional<Marquee> m_marquee;
    QSet<QUuid> m_hitIDs;
};

} // namespace pomelark
