#include "look/Color.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/ShadowPainter.h"
#include "look/Shadows.h"
#include "look/Spring.h"
#include "look/WrappedText.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace pomelark;

namespace {

QColor rgb(int r, int g, int b)
{
    return QColor::fromRgbF(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
}

struct HexCase {
    const char16_t *text;
    QColor expected;
};

} // namespace

TEST(ColorFromHex, ReadsTheWaysTextsComeIn)
{
    const QColor warm = rgb(250, 247, 242);
    const HexCase cases[] = {
        {u"FAF7F2", warm},
        {u"#FAF7F2", warm},
        {u"  FAF7F2\n", warm},
        {u"faf7f2", warm},
        {u"2A#2520", rgb(42, 37, 32)},   // every "#" goes, not only a leading one
        {u"##2A2520#", rgb(42, 37, 32)},
        {u"zz", rgb(0, 0, 0)},          // no digit at the start: black
        {u"", rgb(0, 0, 0)},
        {u"FFF", rgb(0, 15, 255)},      // read as the number 0xFFF
        {u"80FAF7F2", warm},            // the top byte is ignored
        {u"FAF7F2zz", warm},            // trailing characters are ignored
        {u"0xFAF7F2", warm},
        {u"0XFAF7F2", warm},
        {u"FA F7F2", rgb(0, 0, 250)},   // reading stops at the space
    };
    for (const HexCase &c : cases) {
        const QColor color = colorFromHex(c.text);
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        EXPECT_EQ(color.toRgb().rgba(), c.expected.rgba());
        EXPECT_EQ(color.alphaF(), 1.0f);
    }
}

TEST(ColorFromHex, KeepsExactComponentsAndIgnoresDigitsPastSixteen)
{
    const QColor color = colorFromHex(u"B5A4E8");
    EXPECT_FLOAT_EQ(color.redF(), 181 / 255.0f);
    EXPECT_FLOAT_EQ(color.greenF(), 164 / 255.0f);
    EXPECT_FLOAT_EQ(color.blueF(), 232 / 255.0f);
    // Longer than any 64-bit number: no crash, still the low 24 bits of what was read.
    EXPECT_EQ(colorFromHex(u"123456789ABCDEF0123B5A4E8").rgba(), color.rgba());
}

TEST(Palette, HoldsTheFourteenColoursOnceEach)
{
    EXPECT_EQ(Palette::background().rgba(), rgb(0xFA, 0xF7, 0xF2).rgba());
    EXPECT_EQ(Palette::accent().rgba(), rgb(0xB5, 0xA4, 0xE8).rgba());
    EXPECT_EQ(Palette::coral().rgba(), rgb(0xE8, 0x84, 0x7A).rgba());
    EXPECT_EQ(&Palette::ink(), &Palette::ink());
    const QColor all[] = {Palette::background(), Palette::surface(), Palette::line(), Palette::divider(),
                          Palette::ink(), Palette::inkSecondary(), Palette::inkTertiary(), Palette::accent(),
                          Palette::accentDeep(), Palette::accentSoft(), Palette::mintSoft(), Palette::mint(),
                          Palette::amber(), Palette::coral()};
    for (size_t i = 0; i < std::size(all); ++i)
        for (size_t j = i + 1; j < std::size(all); ++j)
            EXPECT_NE(all[i].rgba(), all[j].rgba()) << i << " and " << j;
}

TEST(Tokens, ShadowPresetsAndSpring)
{
    EXPECT_FALSE(Shadows::none().isVisible());
    EXPECT_NEAR(Shadows::medium().color.alphaF(), 0.07, 1e-4);
    EXPECT_EQ(Shadows::medium().color.red(), 42);
    EXPECT_EQ(Shadows::large().radius, 24);
    EXPECT_EQ(Shadows::large().y, 12);
    EXPECT_EQ(Shadows::accentGlow().color.blue(), 232);
    EXPECT_NEAR(Shadows::accentGlow().color.alphaF(), 0.35, 1e-4);
    EXPECT_EQ(Animations::spring().response, 0.5);
    EXPECT_EQ(Animations::spring().dampingFraction, 0.7);
    EXPECT_EQ(Animations::spring().blendDuration, 0.0);
}

TEST(MixColors, FadesFromClearWithoutDarkening)
{
    const QColor half = mixColors(Qt::transparent, Palette::accentSoft(), 0.5);
    EXPECT_NEAR(half.alphaF(), 0.5, 0.01);
    EXPECT_EQ(half.red(), Palette::accentSoft().red());
    EXPECT_EQ(half.blue(), Palette::accentSoft().blue());
    EXPECT_EQ(mixColors(Palette::ink(), Palette::accent(), 1.0).rgba(), Palette::accent().rgba());
    EXPECT_EQ(mixColors(Palette::ink(), Palette::accent(), -3).rgba(), Palette::ink().rgba());
}

TEST(ShadowPainter, NoneDrawsNothing)
{
    QImage canvas(60, 60, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    QPainterPath shape;
    shape.addRect(10, 10, 40, 40);
    ShadowPainter::draw(painter, shape, Shadows::none());
    painter.end();
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            ASSERT_EQ(qAlpha(canvas.pixel(x, y)), 0);
}

TEST(ShadowPainter, BlursAroundTheShapeAtItsOffsetAndCachesTheImage)
{
    ShadowPainter::clearCache();
    const Shadow shadow{QColor(0, 0, 0, 255), 4, 0, 6};
    QPainterPath shape;
    shape.addRect(0, 0, 40, 40);
    const ShadowPainter::Rendered first = ShadowPainter::render(shape, shadow, 1.0);
    ASSERT_FALSE(first.image.isNull());
    auto alphaAt = [&](qreal x, qreal y) {
        const QPointF p = QPointF(x, y) - first.offset;
        return qAlpha(first.image.pixel(p.toPoint()));
    };
    EXPECT_GT(alphaAt(20, 26), 250);                 // under the middle: solid
    // Pixel rows 45 and 46 straddle the shifted bottom edge: half each way.
    EXPECT_NEAR(alphaAt(20, 45) + alphaAt(20, 46), 255, 4);
    EXPECT_LT(alphaAt(20, 46 + 9), 10);              // two radii out: almost gone
    EXPECT_NEAR(alphaAt(0, 26), alphaAt(39, 26), 2); // symmetric sideways
    EXPECT_LT(alphaAt(20, 0), alphaAt(20, 46));      // shifted down by the offset

    QPainterPath moved = shape.translated(100, 50);
    ShadowPainter::render(moved, shadow, 1.0);
    EXPECT_EQ(ShadowPainter::cachedCount(), 1);
    ShadowPainter::render(shape, shadow, 2.0);
    EXPECT_EQ(ShadowPainter::cachedCount(), 2);
}

TEST(LookFont, FractionalSizesAreDrawnAtTheirSize)
{
    // Qt draws fonts at whole pixel sizes; 12.5 must neither come out as 12 nor as 13.
    const QString text = u"Went into Photos · in your Pictures folder"_qs;
    const auto width = [&](const QFont &font) {
        return WrappedText(text, font, Qt::black, Qt::AlignLeft).sizeHint().width();
    };
    for (const auto face : {&LookFont::system, &LookFont::rounded}) {
        const int between = width(face(12.5, QFont::Normal));
        EXPECT_GT(between, width(face(12, QFont::Normal)) + 2);
        EXPECT_LT(between, width(face(13, QFont::Normal)) - 2);
    }
}
