#include "look/MotionPainter.h"

#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/OtherMotions.h"
#include "look/Palette.h"
#include "look/PixelCharacter.h"
#include "look/PixelCharacterView.h"
#include "look/PixelSpriteView.h"
#include "look/MotionSprites.h"
#include "look/ShadowPainter.h"

#include <QCache>
#include <QCoreApplication>
#include <QPainter>

#include <cmath>

namespace pomelark {

namespace {

// The mascot is 16 × 14 cells; motion layouts use these as fixed numbers.
constexpr qreal characterColumns = 16;
constexpr qreal characterRows = 14;

struct StackLayout {
    QRectF character;
    QPointF shadowCentre;
};

// A vertical stack of the character and its shadow, centred across the frame
// and either resting on its bottom or centred in it.
StackLayout stackLayout(const QRectF &frame, qreal px, qreal spacing, qreal shadowHeight, bool onBottom)
{
    const qreal height = characterRows * px + spacing + shadowHeight;
    const qreal top = onBottom ? frame.bottom() - height : frame.center().y() - height / 2;
    const QRectF character(frame.center().x() - characterColumns * px / 2, top, characterColumns * px,
                           characterRows * px);
    return {character, QPointF(frame.center().x(), character.bottom() + spacing + shadowHeight / 2)};
}

QPointF bottomCentre(const QRectF &rect)
{
    return {rect.center().x(), rect.bottom()};
}

// Rotation and scale about `anchor`, as the motions describe them.
void rotateAbout(QPainter &painter, const QPointF &anchor, double degrees)
{
    painter.translate(anchor);
    painter.rotate(degrees);
    painter.translate(-anchor);
}

void scaleAbout(QPainter &painter, const QPointF &anchor, qreal sx, qreal sy)
{
    painter.translate(anchor);
    painter.scale(sx, sy);
    painter.translate(-anchor);
}

void drawMascot(QPainter &painter, const QRectF &character, const PixelPalette &palette, const QString &expression,
                qreal px, bool showLens)
{
    PixelCharacterView::draw(painter, character.topLeft(), PixelCharacter::mascot(), palette, expression, px,
                             showLens);
}

// A sprite scaled and rotated about its own centre, faded, and placed with its
// centre at `centre`.
void drawSprite(QPainter &painter, const QPointF &centre, const QStringList &rows, qreal pixel, qreal scale,
                double rotation, double opacity)
{
    if (opacity <= 0)
        return;
    const QSizeF size = PixelSpriteView::spriteSize(rows, pixel);
    painter.save();
    painter.translate(centre);
    painter.rotate(rotation);
    painter.scale(scale, scale);
    painter.setOpacity(painter.opacity() * std::min(1.0, opacity));
    PixelSpriteView::draw(painter, QPointF(-size.width() / 2, -size.height() / 2), rows, pixel);
    painter.restore();
}

// The "OK" badge: heavy white text on an accent capsule, made once per size.
QImage badgeImage(qreal px, qreal ratio)
{
    static QCache<QString, QImage> cache(16);
    const QString text = QCoreApplication::translate("TuppoNod", "OK");
    const QString key = text + u'|' + QString::number(px) + u'|' + QString::number(ratio);
    if (const QImage *hit = cache.object(key))
        return *hit;
    const LookFont::ScaledFont font = LookFont::scaledForDrawing(LookFont::system(1.7 * px, QFont::ExtraBold));
    const QFontMetricsF metrics(font.font);
    // The text's size in the drawing font's units; on the badge it takes that times the scale.
    const QSizeF drawnSize(metrics.horizontalAdvance(text), metrics.height());
    const QSizeF size = drawnSize * font.scale + QSizeF(2 * 0.9 * px, 2 * 0.3 * px);
    QImage image((size * ratio).toSize() + QSize(1, 1), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF box(QPointF(0, 0), size);
        p.fillPath(capsule(box), Palette::accent());
        p.translate(box.center());
        p.scale(font.scale, font.scale);
        p.setFont(font.font);
        p.setPen(Qt::white);
        p.drawText(QRectF(QPointF(-drawnSize.width() / 2, -drawnSize.height() / 2), drawnSize), Qt::AlignCenter, text);
    }
    cache.insert(key, new QImage(image));
    return image;
}

// The small photo card the scissors snip at, centred on `centre`.
void drawCard(QPainter &painter, const QPointF &centre, qreal px)
{
    const QRectF card(centre.x() - 2.25 * px, centre.y() - 2.75 * px, 4.5 * px, 5.5 * px);
    const QPainterPath shape = continuousRoundedRect(card, 3);
    painter.fillPath(shape, Qt::white);
    QPen line(Palette::line(), 1);
    line.setJoinStyle(Qt::MiterJoin);
    line.setMiterLimit(10);
    painter.strokePath(shape, line);
    const QRectF picture(card.center().x() - 1.5 * px, card.bottom() - 2 - 2 * px, 3 * px, 2 * px);
    painter.fillPath(continuousRoundedRect(picture, 2), Palette::accentSoft());
}

} // namespace

QSizeF MotionPainter::frameSize(TuppoMotionKind kind, qreal px)
{
    switch (kind) {
    case TuppoMotionKind::Hop:
        return {18 * px, 22 * px};
    case TuppoMotionKind::Wiggle:
        return {characterColumns * px, characterRows * px};
    case TuppoMotionKind::Stamp:
    case TuppoMotionKind::Stretch:
        return {22 * px, (9 + characterRows) * px};
    default:
        return {22 * px, (7 + characterRows) * px};
    }
}

QMarginsF MotionPainter::bleed(TuppoMotionKind kind, qreal px)
{
    // Each side is max(2, a − b·px) points, fitted to what the motions draw
    // over their loops at pixel sizes 1 to 8: the hop's lift, the rising notes,
    // hearts, letters and badges, the stamp's raised block, the puffs, the
    // wiggle's sway and the shadow's blur. Fixed point lengths (the 58-point
    // jump, the 60-point puffs) reach furthest past small mascots.
    struct Side {
        qreal a;
        qreal b;
    };
    struct Sides {
        Side left, top, right, bottom;
    };
    const auto sides = [kind]() -> Sides {
        constexpr Side minimal{0, 0};
        constexpr Side shadowBelow{1.5, -0.25};
        switch (kind) {
        case TuppoMotionKind::Hop:
            return {{1, -0.25}, {64, 2.8}, {1, -0.25}, {3, 0}};
        case TuppoMotionKind::Wiggle:
            return {{2, -0.9}, {1, -0.3}, {2, -0.9}, {1, -0.4}};
        case TuppoMotionKind::Hum:
            return {minimal, {48, 9}, minimal, shadowBelow};
        case TuppoMotionKind::Blow:
            return {minimal, {16, 5}, {60, 4}, shadowBelow};
        case TuppoMotionKind::Stamp:
            return {{4, 1}, {66, 15}, {4, 1}, shadowBelow};
        case TuppoMotionKind::Stretch:
            return {{27, 10}, {29, 2.7}, {4, 1}, shadowBelow};
        case TuppoMotionKind::Nod:
            return {minimal, {30, 10}, minimal, shadowBelow};
        case TuppoMotionKind::Doze:
            return {minimal, {38, 10}, {4, 1}, shadowBelow};
        case TuppoMotionKind::Aww:
            return {minimal, {30, 7.5}, minimal, shadowBelow};
        case TuppoMotionKind::Peek:
        case TuppoMotionKind::Snip:
        case TuppoMotionKind::Search:
            return {minimal, {6, 1}, minimal, shadowBelow};
        }
        return {};
    }();
    const auto reach = [px](Side side) { return std::max<qreal>(2, side.a - side.b * px); };
    return {reach(sides.left), reach(sides.top), reach(sides.right), reach(sides.bottom)};
}

void MotionPainter::paintGroundShadow(QPainter &painter, const QPointF &centre, const QSizeF &size, qreal scaleX,
                                      double opacity)
{
    if (opacity <= 0 || scaleX <= 0)
        return;
    QPainterPath ellipse;
    ellipse.addEllipse(QRectF(-size.width() / 2, -size.height() / 2, size.width(), size.height()));
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const ShadowPainter::Rendered blurred = ShadowPainter::render(ellipse, Shadow{Palette::ink(), 2, 0, 0}, ratio);
    if (blurred.image.isNull())
        return;
    painter.save();
    painter.translate(centre);
    painter.scale(scaleX, 1);
    painter.setOpacity(painter.opacity() * std::min(1.0, opacity));
    painter.drawImage(ellipse.boundingRect().topLeft() + blurred.offset, blurred.image);
    painter.restore();
}

void MotionPainter::paintBody(QPainter &painter, const QRectF &frame, const MotionFrame &pose,
                              const PixelPalette &palette, qreal px)
{
    const StackLayout layout = stackLayout(frame, px, 6, 1.5 * px, true);
    painter.save();
    painter.translate(pose.tx, pose.ty);
    rotateAbout(painter, bottomCentre(layout.character), pose.rot);
    scaleAbout(painter, bottomCentre(layout.character), pose.sx, pose.sy);
    drawMascot(painter, layout.character, palette, pose.expr, px, true);
    painter.restore();
    // Accessories sit on the unmoved frame: they do not follow the body's transforms.
    for (const AccessoryFrame &accessory : pose.accessories)
        drawSprite(painter, layout.character.center() + QPointF(accessory.x, accessory.y), accessory.sprite,
                   accessory.pixel, accessory.scale, accessory.rotation, accessory.opacity);
    paintGroundShadow(painter, layout.shadowCentre, QSizeF(9 * px, 1.5 * px), pose.shadowScaleX, pose.shadowOpacity);
}

void MotionPainter::paintHop(QPainter &painter, const QRectF &frame, const HopState &pose, const PixelPalette &palette,
                             qreal px, bool showLens)
{
    const StackLayout layout = stackLayout(frame, px, 8, 1.7 * px, false);
    painter.save();
    // Offset first, then the scale: the drawn lift is offsetY × scaleY.
    scaleAbout(painter, bottomCentre(layout.character), pose.scaleX, pose.scaleY);
    painter.translate(0, pose.offsetY);
    drawMascot(painter, layout.character, palette, pose.expression, px, showLens);
    painter.restore();
    paintGroundShadow(painter, layout.shadowCentre, QSizeF(11 * px, 1.7 * px), pose.shadowScaleX, pose.shadowOpacity);
}

void MotionPainter::paintWiggle(QPainter &painter, const QRectF &frame, const WiggleFrame &pose,
                                const PixelPalette &palette, qreal px, bool showLens)
{
    const QRectF character(frame.center().x() - characterColumns * px / 2,
                           frame.center().y() - characterRows * px / 2, characterColumns * px, characterRows * px);
    painter.save();
    rotateAbout(painter, bottomCentre(character), pose.angle);
    painter.translate(pose.sway, 0);
    drawMascot(painter, character, palette, pose.expression, px, showLens);
    painter.restore();
}

void MotionPainter::paintPeek(QPainter &painter, const QRectF &frame, const PeekFrame &pose,
                              const PixelPalette &palette, qreal px)
{
    const StackLayout layout = stackLayout(frame, px, 6, 1.5 * px, true);
    painter.save();
    rotateAbout(painter, bottomCentre(layout.character), pose.r);
    drawMascot(painter, layout.character, palette, QStringLiteral("blink"), px, true);
    painter.restore();

    const QPointF glass = layout.character.center() + QPointF(pose.x, pose.y);
    drawSprite(painter, glass, MotionSprites::magnifier(), px, 1, pose.a, 1);
    if (pose.g > 0) {
        painter.save();
        painter.setOpacity(painter.opacity() * pose.g);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(glass + QPointF(-px, -px), 0.6 * px, 0.6 * px);
        painter.restore();
    }
    paintGroundShadow(painter, layout.shadowCentre, QSizeF(9 * px, 1.5 * px), 1.0, 0.16);
}

void MotionPainter::paintNod(QPainter &painter, const QRectF &frame, const NodFrame &pose, const PixelPalette &palette,
                             qreal px)
{
    const StackLayout layout = stackLayout(frame, px, 6, 1.5 * px, true);
    painter.save();
    painter.translate(0, pose.v);
    rotateAbout(painter, bottomCentre(layout.character), pose.n);
    drawMascot(painter, layout.character, palette, QStringLiteral("happy"), px, true);
    painter.restore();

    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage badge = badgeImage(px, ratio);
    const QSizeF badgeSize = badge.deviceIndependentSize();
    const QPointF stack = layout.character.center() + QPointF(2.5 * px, -px);
    for (const BadgeFrame &b : pose.badges) {
        if (b.opacity <= 0)
            continue;
        painter.save();
        painter.translate(stack + QPointF(0, b.y));
        painter.scale(b.scale, b.scale);
        painter.setOpacity(painter.opacity() * std::min(1.0, b.opacity));
        painter.drawImage(QPointF(-badgeSize.width() / 2, -badgeSize.height() / 2), badge);
        painter.restore();
    }
    paintGroundShadow(painter, layout.shadowCentre, QSizeF(9 * px, 1.5 * px), 1.0, 0.16);
}

void MotionPainter::paintSnip(QPainter &painter, const QRectF &frame, const SnipFrame &pose,
                              const PixelPalette &palette, qreal px)
{
    const StackLayout layout = stackLayout(frame, px, 6, 1.5 * px, true);
    painter.save();
    rotateAbout(painter, bottomCentre(layout.character), 2);
    drawMascot(painter, layout.character, palette, QStringLiteral("happy"), px, true);
    painter.restore();

    // The card, the scissors and the snippets share one stack, its top-right
    // corner on the character's, moved right by 2 and up by 1 mascot pixel.
    const QSizeF bladeSize = PixelSpriteView::spriteSize(MotionSprites::blade(), 0.55 * px);
    const qreal rowWidth = 2 * bladeSize.width() - 0.5 * px;
    const QSizeF stackSize(std::max(4.5 * px, rowWidth), std::max(5.5 * px, bladeSize.height()));
    const QPointF centre(layout.character.right() + 2 * px - stackSize.width() / 2,
                         layout.character.top() - px + stackSize.height() / 2);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    drawCard(painter, centre, px);
    painter.restore();

    const QPointF row = centre + QPointF(0, -2.5 * px);
    const qreal bladeOffset = (rowWidth - bladeSize.width()) / 2;
    for (int side = 0; side < 2; ++side) {
        const QPointF bladeCentre = row + QPointF(side == 0 ? -bladeOffset : bladeOffset, 0);
        const QPointF bladeBottom(bladeCentre.x(), bladeCentre.y() + bladeSize.height() / 2);
        painter.save();
        rotateAbout(painter, bladeBottom, side == 0 ? -3 - 13 * pose.o : 3 + 13 * pose.o);
        if (side == 1)
            scaleAbout(painter, bladeCentre, -1, 1);
        PixelSpriteView::draw(painter, bladeCentre - QPointF(bladeSize.width() / 2, bladeSize.height() / 2),
                              MotionSprites::blade(), 0.55 * px);
        painter.restore();
    }
    for (const SnippetFrame &snippet : pose.snippets)
        drawSprite(painter, centre + QPointF(snippet.x, snippet.fall), MotionSprites::snippet(), 0.5 * px, 1,
                   snippet.spin, snippet.opacity);
    paintGroundShadow(painter, layout.shadowCentre, QSizeF(9 * px, 1.5 * px), 1.0, 0.16);
}

void MotionPainter::paint(QPainter &painter, const QRectF &frame, TuppoMotionKind kind, double t,
                          const PixelPalette &palette, qreal px, bool showLens)
{
    switch (kind) {
    case TuppoMotionKind::Hop:
        return paintHop(painter, frame, hopState(t), palette, px, showLens);
    case TuppoMotionKind::Wiggle:
        return paintWiggle(painter, frame, wiggleFrame(t), palette, px, showLens);
    case TuppoMotionKind::Peek:
        return paintPeek(painter, frame, peekFrame(t, px), palette, px);
    case TuppoMotionKind::Nod:
        return paintNod(painter, frame, nodFrame(t), palette, px);
    case TuppoMotionKind::Snip:
        return paintSnip(painter, frame, snipFrame(t), palette, px);
    case TuppoMotionKind::Hum:
        return paintBody(painter, frame, Motions::hum(t, px), palette, px);
    case TuppoMotionKind::Blow:
        return paintBody(painter, frame, Motions::blow(t, px), palette, px);
    case TuppoMotionKind::Stamp:
        return paintBody(painter, frame, Motions::stamp(t, px), palette, px);
    case TuppoMotionKind::Stretch:
        return paintBody(painter, frame, Motions::stretch(t, px), palette, px);
    case TuppoMotionKind::Search:
        return paintBody(painter, frame, Motions::searchShown(t, px), palette, px);
    case TuppoMotionKind::Doze:
        return paintBody(painter, frame, Motions::doze(t, px), palette, px);
    case TuppoMotionKind::Aww:
        return paintBody(painter, frame, Motions::aww(t, px), palette, px);
    }
}

} // namespace pomelark
