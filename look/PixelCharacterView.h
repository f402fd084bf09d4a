#pragma once

#include "look/PixelCharacter.h"

#include <QWidget>

class QPainter;

namespace pomelark {

/// Draws a pixel character as crisp squares of `pixelSize` logical pixels,
/// centred in the widget. The grid comes from the shared resolved-grid cache and
/// is rasterised once per pixel size and screen ratio, so a redraw is one image
/// draw.
class PixelCharacterView : public QWidget {
    Q_OBJECT
public:
    explicit PixelCharacterView(QWidget *parent = nullptr);

    /// The character drawn; the mascot unless set. The reference must outlive the view.
    void setCharacter(const PixelCharacter &character);
    void setPalette(const PixelPalette &palette);
    void setExpression(const QString &expression);
    void setPixelSize(qreal pixelSize);
    void setShowLens(bool showLens);

    const PixelPalette &pixelPalette() const { return m_palette; }
    const QString &expression() const { return m_expression; }
    qreal pixelSize() const { return m_pixelSize; }
    bool showLens() const { return m_showLens; }

    /// `pixelSize` × the grid's columns and rows.
    QSize sizeHint() const override;

    /// Draws `character` with its top-left cell at `topLeft` (painter coordinates),
    /// under the painter's transform and opacity. Draws nothing for a pixel size
    /// of zero or less.
    static void draw(QPainter &painter, const QPointF &topLeft, const PixelCharacter &character,
                     const PixelPalette &palette, const QString &expression, qreal pixelSize, bool showLens);

    /// The picture `draw` composites: one image per (grid, pixel size, ratio).
    static QImage raster(const PixelCharacter &character, const PixelPalette &palette, const QString &expression,
                         qreal pixelSize, bool showLens, qreal ratio);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const PixelCharacter *m_character;
    PixelPalette m_palette;
    QString m_expression;
    qreal m_pixelSize = 4;
    bool m_showLens = true;
};

} // namespace pomelark
