#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QSize>
#include <QString>

class QPainter;

namespace pomelark {

/// One line of text on a filled capsule that follows the text's width: the
/// small tags and badges painted over pictures.
struct CapsuleLabel {
    QString text;
    QFont font;
    QColor fill;
    qreal paddingX = 0; ///< room left and right of the text
    qreal paddingY = 0; ///< room above and below the text
    QColor textColor = Qt::white;

    QSizeF size() const;
    /// size() rounded up to whole pixels, for a widget showing the capsule.
    QSize widgetSize() const;
    /// Draws the capsule with its top-left at `topLeft`; the painter's state is kept.
    void paint(QPainter &painter, QPointF topLeft) const;
};

} // namespace pomelark
