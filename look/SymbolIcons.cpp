#include "look/SymbolIcons.h"

#include "look/SymbolPaths.h"

#include <QHash>
#include <QPainter>

namespace pomelark {

namespace {

// Stroke widths in grid units, so that a 16 px medium symbol sits beside 16 px
// medium text with about the same line weight.
qreal strokeWidth(SymbolWeight weight)
{
    switch (weight) {
    case SymbolWeight::Regular:
        return 1.75;
    case SymbolWeight::Medium:
        return 1.95;
    case SymbolWeight::Semibold:
        return 2.2;
    case SymbolWeight::Bold:
        return 2.5;
    }
    return 1.75;
}

} // namespace

QStringList SymbolIcons::names()
{
    QStringList list;
    for (const auto &[name, builder] : SymbolPaths::builders())
        list << name;
    return list;
}

bool SymbolIcons::contains(const QString &name)
{
    return SymbolPaths::builders().count(name) > 0;
}

QPainterPath SymbolIcons::path(const QString &name, SymbolWeight weight)
{
    // Built once per name and weight; the look paints from the main thread only.
    static QHash<QString, QPainterPath> cache;
    const QString key = name + u'/' + QString::number(int(weight));
    if (auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    const auto &table = SymbolPaths::builders();
    const auto found = table.find(name);
    if (found == table.end())
        return {};
    QPainterPath built = found->second(strokeWidth(weight));
    cache.insert(key, built);
    return built;
}

bool SymbolIcons::paint(QPainter &painter, const QString &name, const QRectF &frame, qreal size,
                        SymbolWeight weight, const QColor &color)
{
    const QPainterPath shape = path(name, weight);
    if (shape.isEmpty())
        return false;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(frame.center() - QPointF(size / 2, size / 2));
    painter.scale(size / gridSize, size / gridSize);
    painter.fillPath(shape, color);
    painter.restore();
    return true;
}

QImage SymbolIcons::image(const QString &name, int size, SymbolWeight weight, const QColor &color,
                          qreal devicePixelRatio)
{
    QImage result(QSize(size, size) * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    result.setDevicePixelRatio(devicePixelRatio);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    paint(painter, name, QRectF(0, 0, size, size), size, weight, color);
    return result;
}

} // namespace pomelark
