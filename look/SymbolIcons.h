#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QStringList>

class QPainter;

namespace pomelark {

/// Stroke weights of the symbols, matching the font weights they sit beside.
enum class SymbolWeight { Regular, Medium, Semibold, Bold };

/// The symbol icons of the look: our own outlines for every symbol name the
/// screens use ("checkmark", "play.fill", "chevron.left", …), drawn as filled
/// vector paths so they stay crisp at any size and pixel ratio. A symbol at size
/// N fills an N × N box, the way a symbol glyph of an N px font would.
class SymbolIcons {
public:
    /// Every known name, sorted.
    static QStringList names();
    static bool contains(const QString &name);

    /// The symbol's outline in a 24 × 24 box, or an empty path for an unknown name.
    static QPainterPath path(const QString &name, SymbolWeight weight = SymbolWeight::Regular);

    /// Paints the symbol centred in `frame` at `size`; returns false and paints
    /// nothing for an unknown name.
    static bool paint(QPainter &painter, const QString &name, const QRectF &frame, qreal size,
                      SymbolWeight weight, const QColor &color);

    /// The symbol as an image of size × size logical pixels at `devicePixelRatio`;
    /// a transparent image for an unknown name.
    static QImage image(const QString &name, int size, SymbolWeight weight, const QColor &color,
                        qreal devicePixelRatio = 1.0);

    static constexpr qreal gridSize = 24.0;
};

} // namespace pomelark
