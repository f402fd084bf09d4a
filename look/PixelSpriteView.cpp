#include "look/PixelSpriteView.h"

#include "look/Color.h"
#include "look/PixelRaster.h"

#include <QPainter>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace pomelark {

namespace {

// Rows are nearly always plain ASCII letters and dots, one character each.
bool isPlainAscii(const QString &row)
{
    return std::all_of(row.cbegin(), row.cend(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
}

QStringList characters(const QString &row)
{
    QStringList result;
    if (isPlainAscii(row)) {
        for (QChar c : row)
            result << QString(c);
        return result;
    }
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, row);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        result << row.mid(start, end - start);
        start = end;
    }
    return result;
}

int characterCount(const QString &row)
{
    return isPlainAscii(row) ? int(row.size()) : int(characters(row).size());
}

} // namespace

PixelSpriteView::PixelSpriteView(const QStringList &rows, qreal pixel, QWidget *parent)
    : QWidget(parent), m_rows(rows), m_pixel(pixel)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

const QHash<QString, QColor> &PixelSpriteView::accessoryColors()
{
    static const QHash<QString, QColor> colors = [] {
        QHash<QString, QColor> table;
        const std::pair<const char16_t *, const char16_t *> entries[] = {
            {u"b", u"5E5470"}, {u"g", u"D4ECF7"}, {u"W", u"FFFFFF"}, {u"h", u"C49A6C"}, {u"H", u"8A6743"},
            {u"n", u"6F5CB8"}, {u"N", u"9F8BD8"}, {u"w", u"EDEAF6"}, {u"r", u"B5A4E8"}, {u"R", u"6F5CB8"},
            {u"p", u"D77E9B"}, {u"P", u"F58FAE"}, {u"M", u"C7CCD6"}, {u"m", u"8A909E"},
        };
        for (const auto &[letter, hex] : entries)
            table.insert(QString::fromUtf16(letter), colorFromHex(hex));
        return table;
    }();
    return colors;
}

int PixelSpriteView::longestRow(const QStringList &rows)
{
    int longest = 0;
    for (const QString &row : rows)
        longest = std::max(longest, characterCount(row));
    return longest;
}

QSizeF PixelSpriteView::spriteSize(const QStringList &rows, qreal pixel)
{
    return {pixel * longestRow(rows), pixel * rows.size()};
}

void PixelSpriteView::draw(QPainter &painter, const QPointF &topLeft, const QStringList &rows, qreal pixel)
{
    const int columns = longestRow(rows);
    if (columns == 0 || !(pixel > 0))
        return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage image = PixelRaster::cached(u"sprite|" + rows.join(u'\n'), columns, int(rows.size()), pixel,
                                             ratio, [&](int x, int y) -> std::optional<QColor> {
                                                 const QStringList letters = characters(rows[y]);
                                                 if (x >= letters.size())
                                                     return std::nullopt;
                                                 const auto color = accessoryColors().constFind(letters[x]);
                                                 if (color == accessoryColors().constEnd())
                                                     return std::nullopt;
                                                 return *color;
                                             });
    if (!image.isNull())
        painter.drawImage(topLeft, image);
}

QSize PixelSpriteView::sizeHint() const
{
    return spriteSize(m_rows, m_pixel).toSize();
}

void PixelSpriteView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QSizeF size = spriteSize(m_rows, m_pixel);
    draw(painter, QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), m_rows, m_pixel);
}

} // namespace pomelark
