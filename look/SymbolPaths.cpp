#include "look/SymbolPaths.h"

#include <QPainterPathStroker>
#include <QPolygonF>

#include <cmath>
#include <numbers>

// Our own symbol outlines, drawn on a 24-unit grid with about 2 units of air
// around them. Line symbols are strokes turned into outlines; filled symbols cut
// their inner marks out, so every symbol paints as one filled path.

namespace pomelark::SymbolPaths {

namespace {

QPainterPath outline(const QPainterPath &line, qreal width, Qt::PenJoinStyle join = Qt::RoundJoin)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(join);
    return stroker.createStroke(line).simplified();
}

QPainterPath polyline(std::initializer_list<QPointF> points, bool closed = false)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    if (closed)
        path.closeSubpath();
    return path;
}

QPainterPath roundRect(qreal x1, qreal y1, qreal x2, qreal y2, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)), radius, radius);
    return path;
}

QPainterPath circle(qreal cx, qreal cy, qreal r)
{
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), r, r);
    return path;
}

// A filled polygon with softened corners: the polygon plus its round-joined outline.
QPainterPath softPolygon(std::initializer_list<QPointF> points, qreal rounding)
{
    QPainterPath shape = polyline(points, true);
    return shape.united(outline(shape, rounding)).simplified();
}

QPainterPath checkInSquare()
{
    return polyline({{7.4, 12.2}, {10.6, 15.4}, {16.6, 8.6}});
}

QPainterPath plusOrMinusCircle(qreal w, bool plus)
{
    QPainterPath bars = polyline({{7.2, 12}, {16.8, 12}});
    if (plus)
        bars.addPath(polyline({{12, 7.2}, {12, 16.8}}));
    return circle(12, 12, 10).subtracted(outline(bars, w * 1.15));
}

QPainterPath arrowClockwise(qreal w)
{
    const QRectF ring(12 - 7.5, 12.8 - 7.5, 15, 15);
    QPainterPath arc;
    arc.arcMoveTo(ring, 45);
    arc.arcTo(ring, 45, -315); // clockwise round the bottom, ending at the top
    QPainterPath path = outline(arc, w);
    const QPointF top(12.4, 5.3);
    return path.united(outline(polyline({{top.x() - 3.4, top.y() - 3.6}, top, {top.x() - 3.4, top.y() + 3.6}}), w));
}

QPainterPath rotateRight(qreal w)
{
    QPainterPath path = outline(roundRect(3.5, 11, 14, 21, 2), w);
    const QRectF ring(11.5 - 7, 13 - 7, 14, 14);
    QPainterPath arc;
    arc.arcMoveTo(ring, 135);
    arc.arcTo(ring, 135, -135);
    path = path.united(outline(arc, w));
    return path.united(outline(polyline({{15.3, 10}, {18.5, 13.4}, {21.7, 10}}), w));
}

QPainterPath uturnBackward(qreal w)
{
    QPainterPath line;
    line.moveTo(19.5, 20);
    line.lineTo(19.5, 13);
    line.arcTo(QRectF(13.5 - 6, 7, 12, 12), 0, 90);
    line.lineTo(5, 7);
    return outline(line, w).united(outline(polyline({{9, 3}, {5, 7}, {9, 11}}), w));
}

QPainterPath calendar(qreal w)
{
    QPainterPath frame = roundRect(3, 4.5, 21, 20.5, 3);
    QPainterPath header = frame.intersected(roundRect(0, 0, 24, 9.5, 0));
    QPainterPath path = outline(frame, w).united(header);
    for (qreal y : {13.3, 17.0})
        for (qreal x : {7.6, 12.0, 16.4})
            path.addPath(circle(x, y, 1.15));
    return path.simplified();
}

QPainterPath shield()
{
    QPainterPath path;
    path.moveTo(12, 2.6);
    path.lineTo(19.6, 5.5);
    path.lineTo(19.6, 11);
    path.cubicTo(19.6, 16, 16.4, 19.6, 12, 21.4);
    path.cubicTo(7.6, 19.6, 4.4, 16, 4.4, 11);
    path.lineTo(4.4, 5.5);
    path.closeSubpath();
    return path;
}

QPainterPath folder(qreal w)
{
    QPainterPath path;
    path.moveTo(2.5, 18);
    path.lineTo(2.5, 6.5);
    path.quadTo(2.5, 4.5, 4.5, 4.5);
    path.lineTo(9, 4.5);
    path.lineTo(11, 7);
    path.lineTo(19.5, 7);
    path.quadTo(21.5, 7, 21.5, 9);
    path.lineTo(21.5, 18);
    path.quadTo(21.5, 20, 19.5, 20);
    path.lineTo(4.5, 20);
    path.quadTo(2.5, 20, 2.5, 18);
    path.closeSubpath();
    return outline(path, w).united(outline(polyline({{2.5, 10.2}, {21.5, 10.2}}), w));
}

QPainterPath gear(qreal w)
{
    constexpr int teeth = 8;
    constexpr qreal outer = 9.6, root = 7.5;
    QPolygonF points;
    auto at = [](qreal degrees, qreal radius) {
        const qreal a = degrees * std::numbers::pi / 180.0;
        return QPointF(12 + radius * std::cos(a), 12 + radius * std::sin(a));
    };
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * 360.0 / teeth;
        points << at(a - 12, root) << at(a - 7, outer) << at(a + 7, outer) << at(a + 12, root);
    }
    QPainterPath silhouette;
    silhouette.addPolygon(points);
    silhouette.closeSubpath();
    return outline(silhouette, w).united(outline(circle(12, 12, 3.3), w));
}

QPainterPath house(qreal w)
{
    QPainterPath lines = polyline({{2.5, 11.5}, {12, 3.5}, {21.5, 11.5}});
    lines.addPath(polyline({{5, 9.6}, {5, 20.5}, {19, 20.5}, {19, 9.6}}));
    lines.addPath(polyline({{10, 20.5}, {10, 15}, {14, 15}, {14, 20.5}}));
    return outline(lines, w);
}

QPainterPath lockFill(qreal w)
{
    QPainterPath shackle;
    shackle.moveTo(8, 11);
    shackle.lineTo(8, 7.5);
    shackle.arcTo(QRectF(8, 3.5, 8, 8), 180, -180);
    shackle.lineTo(16, 11);
    return outline(shackle, w * 1.15).united(roundRect(5, 10.5, 19, 21, 2.5));
}

QPainterPath paperplaneShape()
{
    return polyline({{21, 3}, {2.8, 10.2}, {10.6, 13.4}, {13.8, 21.2}}, true);
}

QPainterPath photoFill(qreal w)
{
    QPainterPath path = roundRect(2, 4, 22, 20, 3);
    path = path.subtracted(softPolygon({{4.8, 17.6}, {9.5, 11.2}, {13.2, 15.6}, {15.6, 13}, {19.2, 17.6}}, w * 0.4));
    return path.subtracted(circle(16.4, 8.6, 1.9));
}

QPainterPath questionmark(qreal w)
{
    QPainterPath hook;
    hook.moveTo(8, 8.5);
    hook.cubicTo(8, 5.8, 9.8, 4, 12, 4);
    hook.cubicTo(14.4, 4, 16, 5.8, 16, 7.8);
    hook.cubicTo(16, 10, 14, 11, 12.9, 12);
    hook.cubicTo(12.2, 12.7, 12, 13.3, 12, 14.6);
    return outline(hook, w * 1.1).united(circle(12, 19.2, w * 0.8));
}

QPainterPath squareOnSquare(qreal w)
{
    const QPainterPath front = roundRect(3.5, 8, 16, 20.5, 3);
    const QPainterPath back = outline(roundRect(8, 3.5, 20.5, 16, 3), w);
    const qreal gap = w / 2 + 1.3;
    const QPainterPath frontArea = roundRect(3.5 - gap, 8 - gap, 16 + gap, 20.5 + gap, 3 + gap);
    return back.subtracted(frontArea).united(outline(front, w));
}

QPainterPath trayInner(qreal y)
{
    QPainterPath inner;
    inner.moveTo(2.5, y);
    inner.lineTo(7.8, y);
    inner.cubicTo(7.8, y + 2.1, 9.7, y + 2.8, 12, y + 2.8);
    inner.cubicTo(14.3, y + 2.8, 16.2, y + 2.1, 16.2, y);
    inner.lineTo(21.5, y);
    return inner;
}

QPainterPath tray(qreal w)
{
    QPainterPath body;
    body.moveTo(2.5, 13);
    body.lineTo(6, 5.5);
    body.lineTo(18, 5.5);
    body.lineTo(21.5, 13);
    body.lineTo(21.5, 18.5);
    body.quadTo(21.5, 20.5, 19.5, 20.5);
    body.lineTo(4.5, 20.5);
    body.quadTo(2.5, 20.5, 2.5, 18.5);
    body.closeSubpath();
    return outline(body, w).united(outline(trayInner(13), w));
}

QPainterPath trayArrowDown(qreal w)
{
    QPainterPath body;
    body.moveTo(2.5, 13.5);
    body.lineTo(2.5, 19);
    body.quadTo(2.5, 21, 4.5, 21);
    body.lineTo(19.5, 21);
    body.quadTo(21.5, 21, 21.5, 19);
    body.lineTo(21.5, 13.5);
    QPainterPath arrow = polyline({{12, 2.5}, {12, 12.5}});
    arrow.addPath(polyline({{8.2, 8.8}, {12, 12.6}, {15.8, 8.8}}));
    return outline(body, w).united(outline(trayInner(15.2), w)).united(outline(arrow, w));
}

std::map<QString, Builder> makeBuilders()
{
    std::map<QString, Builder> b;
    b[QStringLiteral("checkmark")] = [](qreal w) {
        return outline(polyline({{5, 12.8}, {9.6, 17.4}, {19, 6.6}}), w * 1.05);
    };
    b[QStringLiteral("xmark")] = [](qreal w) {
        QPainterPath lines = polyline({{6.5, 6.5}, {17.5, 17.5}});
        lines.addPath(polyline({{17.5, 6.5}, {6.5, 17.5}}));
        return outline(lines, w);
    };
    b[QStringLiteral("xmark.circle")] = [](qreal w) {
        QPainterPath lines = polyline({{8.8, 8.8}, {15.2, 15.2}});
        lines.addPath(polyline({{15.2, 8.8}, {8.8, 15.2}}));
        return outline(circle(12, 12, 9.5), w).united(outline(lines, w));
    };
    b[QStringLiteral("chevron.left")] = [](qreal w) { return outline(polyline({{15.5, 4.5}, {8, 12}, {15.5, 19.5}}), w * 1.1); };
    b[QStringLiteral("chevron.right")] = [](qreal w) { return outline(polyline({{8.5, 4.5}, {16, 12}, {8.5, 19.5}}), w * 1.1); };
    b[QStringLiteral("arrow.right")] = [](qreal w) {
        QPainterPath lines = polyline({{4, 12}, {19.5, 12}});
        lines.addPath(polyline({{13, 5.5}, {19.5, 12}, {13, 18.5}}));
        return outline(lines, w);
    };
    b[QStringLiteral("arrow.clockwise")] = arrowClockwise;
    b[QStringLiteral("arrow.uturn.backward")] = uturnBackward;
    b[QStringLiteral("rotate.right")] = rotateRight;
    b[QStringLiteral("calendar")] = calendar;
    b[QStringLiteral("checkmark.shield")] = [](qreal w) {
        return outline(shield(), w).united(outline(polyline({{8.4, 11.8}, {11, 14.4}, {15.7, 9.2}}), w * 0.95));
    };
    b[QStringLiteral("checkmark.square")] = [](qreal w) {
        return outline(roundRect(3.5, 3.5, 20.5, 20.5, 4), w).united(outline(checkInSquare(), w));
    };
    b[QStringLiteral("checkmark.square.fill")] = [](qreal w) {
        return roundRect(2.5, 2.5, 21.5, 21.5, 4.5).subtracted(outline(checkInSquare(), w * 1.1));
    };
    b[QStringLiteral("exclamationmark.triangle.fill")] = [](qreal w) {
        QPainterPath marks = outline(polyline({{12, 8.6}, {12, 13.4}}), w * 1.1);
        marks.addPath(circle(12, 17, w * 0.72));
        return softPolygon({{12, 3.2}, {21.8, 20}, {2.2, 20}}, 3).subtracted(marks);
    };
    b[QStringLiteral("folder")] = folder;
    b[QStringLiteral("gearshape")] = gear;
    b[QStringLiteral("house")] = house;
    b[QStringLiteral("lock.fill")] = lockFill;
    b[QStringLiteral("minus.circle.fill")] = [](qreal w) { return plusOrMinusCircle(w, false); };
    b[QStringLiteral("plus.circle.fill")] = [](qreal w) { return plusOrMinusCircle(w, true); };
    b[QStringLiteral("paperplane")] = [](qreal w) {
        return outline(paperplaneShape(), w).united(outline(polyline({{10.6, 13.4}, {21, 3}}), w));
    };
    b[QStringLiteral("paperplane.fill")] = [](qreal w) {
        const QPainterPath plane = paperplaneShape().united(outline(paperplaneShape(), w * 0.8));
        return plane.subtracted(outline(polyline({{10.9, 13.1}, {16.5, 7.5}}), w * 0.75));
    };
    b[QStringLiteral("pause.fill")] = [](qreal) {
        return roundRect(6, 4.5, 10, 19.5, 1.5).united(roundRect(14, 4.5, 18, 19.5, 1.5));
    };
    b[QStringLiteral("play.fill")] = [](qreal) { return softPolygon({{7.5, 4.8}, {19.5, 12}, {7.5, 19.2}}, 2.4); };
    b[QStringLiteral("photo.fill")] = photoFill;
    b[QStringLiteral("video.fill")] = [](qreal) {
        return roundRect(1.5, 6, 16, 18, 3).united(softPolygon({{17.4, 10.3}, {22.2, 7.3}, {22.2, 16.7}, {17.4, 13.7}}, 1.2));
    };
    b[QStringLiteral("questionmark")] = questionmark;
    b[QStringLiteral("square.on.square")] = squareOnSquare;
    b[QStringLiteral("tray")] = tray;
    b[QStringLiteral("tray.and.arrow.down")] = trayArrowDown;
    return b;
}

} // namespace

const std::map<QString, Builder> &builders()
{
    static const std::map<QString, Builder> table = makeBuilders();
    return table;
}

} // namespace pomelark::SymbolPaths
