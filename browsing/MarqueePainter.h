#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

namespace pomelark {

/// Draws the grid's marquee: a soft lavender rounded rectangle with an accent
/// outline and, when it has hits, a dark count pill just above its top-leading
/// corner, or just inside it when there is no room above.
class MarqueePainter {
public:
    /// `rect` and `visible` (the part of the grid on screen) in the painter's
    /// coordinates; an empty `countText` draws no pill.
    static void paint(QPainter &painter, const QRectF &rect, const QString &countText, const QRectF &visible);

    /// Where a count pill of `size` goes for the marquee `rect`: 24 px above its
    /// top-leading corner, or, when that would leave `visible`, just inside the
    /// marquee below its top (or below the visible top when the marquee's top has
    /// scrolled away); never past the visible sides.
    static QRectF countLabelRect(const QRectF &rect, const QSizeF &size, const QRectF &visible);
};

} // namespace pomelark
