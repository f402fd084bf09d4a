#pragma once

#include <QRectF>
#include <QString>

class QPainter;

namespace pomelark {

/// Draws the grid's marquee: a soft lavender rounded rectangle with an accent
/// outline and, when it has hits, a dark count pill just above its top-leading
/// corner.
class MarqueePainter {
public:
    /// `rect` in the painter's coordinates; an empty `countText` draws no pill.
    static void paint(QPainter &painter, const QRectF &rect, const QString &countText);
};

} // namespace pomelark
