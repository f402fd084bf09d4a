#include "look/PixelCharacterView.h"

#include "look/PixelRaster.h"
#include "look/ResolvedGridCache.h"

#include <QPainter>

#include <cmath>

namespace pomelark {

namespace {

QString colorName(const QColor &color)
{
    return QString::number(color.rgba64(), 16);
}

} // namespace

PixelCharacterView::PixelCharacterView(QWidget *parent)
    : QWidget(parent), m_character(&PixelCharacter::mascot()),
      m_palette(PixelCharacter::mascotPalettes().value(QStringLiteral("lavender"))),
      m_expression(QStringLiteral("happy"))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PixelCharacterView::setCharacter(const PixelCharacter &character)
{
    m_character = &character;
    updateGeometry();
    update();
}

void PixelCharacterView::setPalette(const PixelPalette &palette)
{
    if (palette == m_palette)
        return;
    m_palette = palette;
    update();
}

void PixelCharacterView::setExpression(const QString &expression)
{
    if (expression == m_expression)
        return;
    m_expression = expression;
    update();
}

void PixelCharacterView::setPixelSize(qreal pixelSize)
{
    if (pixelSize == m_pixelSize)
        return;
    m_pixelSize = pixelSize;
    updateGeometry();
    update();
}

void PixelCharacterView::setShowLens(bool showLens)
{
    if (showLens == m_showLens)
        return;
    m_showLens = showLens;
    update();
}

QSize PixelCharacterView::sizeHint() const
{
    return QSizeF(m_pixelSize * m_character->gridWidth, m_pixelSize * m_character->gridHeight).toSize();
}

QImage PixelCharacterView::raster(const PixelCharacter &character, const PixelPalette &palette,
                                  const QString &expression, qreal pixelSize, bool showLens, qreal ratio)
{
    const ResolvedGridCache::Key key{palette, expression, showLens};
    const std::shared_ptr<const ResolvedGrid> grid = ResolvedGridCache::shared().grid(character, key);
    // Named by the same things as the grid cache's key, so one picture per grid.
    const QString identity = u"character|" + colorName(palette.body) + u',' + colorName(palette.highlight) + u','
        + colorName(palette.shade) + u',' + colorName(palette.outline) + u'|' + expression
        + (showLens ? u"|lens" : u"|bare");
    return PixelRaster::cached(identity, grid->width(), grid->height(), pixelSize, ratio,
                               [&](int x, int y) { return grid->at(x, y); });
}

void PixelCharacterView::draw(QPainter &painter, const QPointF &topLeft, const PixelCharacter &character,
                              const PixelPalette &palette, const QString &expression, qreal pixelSize,
                              bool showLens)
{
    if (!(pixelSize > 0))
        return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage image = raster(character, palette, expression, pixelSize, showLens, ratio);
    if (!image.isNull())
        painter.drawImage(topLeft, image);
}

void PixelCharacterView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QSizeF size(m_pixelSize * m_character->gridWidth, m_pixelSize * m_character->gridHeight);
    // Whole logical pixels keep the squares crisp when the widget is larger.
    const QPointF topLeft(std::floor((width() - size.width()) / 2), std::floor((height() - size.height()) / 2));
    draw(painter, topLeft, *m_character, m_palette, m_expression, m_pixelSize, m_showLens);
}

} // namespace pomelark
