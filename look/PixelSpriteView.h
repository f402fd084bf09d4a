#pragma once

#include <QColor>
#include <QHash>
#include <QStringList>
#include <QWidget>

class QPainter;

namespace pomelark {

/// Draws a small accessory sprite written as rows of letters, one letter per
/// square pixel of `pixel` logical pixels, with one fixed letter-to-colour table.
/// Letters are case-sensitive; anything not in the table (the motions write dots)
/// is transparent. Rows shorter than the longest leave the rest of their width
/// transparent.
class PixelSpriteView : public QWidget {
    Q_OBJECT
public:
    PixelSpriteView(const QStringList &rows, qreal pixel, QWidget *parent = nullptr);

    const QStringList &rows() const { return m_rows; }
    qreal pixel() const { return m_pixel; }

    /// The letter-to-colour table, made once on first use.
    static const QHash<QString, QColor> &accessoryColors();

    /// The most user-perceived characters in any row; 0 for no rows.
    static int longestRow(const QStringList &rows);

    /// `pixel` × the longest row wide, `pixel` × the row count high.
    static QSizeF spriteSize(const QStringList &rows, qreal pixel);

    /// Draws the sprite with its top-left at `topLeft` under the painter's
    /// transform and opacity; one cached image per (rows, pixel, screen ratio).
    /// Draws nothing for no rows or a pixel of zero or less.
    static void draw(QPainter &painter, const QPointF &topLeft, const QStringList &rows, qreal pixel);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QStringList m_rows;
    qreal m_pixel;
};

} // namespace pomelark
