#include "look/Color.h"
#include "look/PixelSpriteView.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace pomelark;

namespace {

QImage paintSprite(const QStringList &rows, qreal pixel, QSize canvas)
{
    QImage image(canvas, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PixelSpriteView::draw(painter, {}, rows, pixel);
    return image;
}

} // namespace

TEST(PixelSprite, ColourTableIsCaseSensitiveAndExact)
{
    const auto &colors = PixelSpriteView::accessoryColors();
    EXPECT_EQ(colors.size(), 14);
    const std::pair<const char16_t *, const char16_t *> expected[] = {
        {u"b", u"5E5470"}, {u"g", u"D4ECF7"}, {u"W", u"FFFFFF"}, {u"h", u"C49A6C"}, {u"H", u"8A6743"},
        {u"n", u"6F5CB8"}, {u"N", u"9F8BD8"}, {u"w", u"EDEAF6"}, {u"r", u"B5A4E8"}, {u"R", u"6F5CB8"},
        {u"p", u"D77E9B"}, {u"P", u"F58FAE"}, {u"M", u"C7CCD6"}, {u"m", u"8A909E"},
    };
    for (const auto &[letter, hex] : expected)
        EXPECT_EQ(colors.value(QString::fromUtf16(letter)), colorFromHex(hex)) << QString::fromUtf16(letter).toStdString();
    EXPECT_NE(colors.value(u"W"_qs), colors.value(u"w"_qs));
    EXPECT_EQ(colors.value(u"n"_qs), colors.value(u"R"_qs));
    EXPECT_FALSE(colors.contains(u"."_qs));
}

TEST(PixelSprite, SizeComesFromTheLongestRowInCharacters)
{
    EXPECT_EQ(PixelSpriteView::longestRow({}), 0);
    EXPECT_EQ(PixelSpriteView::longestRow({u"..nn"_qs, u"nnnn"_qs, u"n"_qs}), 4);
    // User-perceived characters: an accented letter made of two code points and
    // an emoji outside the basic plane count once each.
    EXPECT_EQ(PixelSpriteView::longestRow({u"e\u0301e\u0301"_qs, QString::fromUtf8("\xF0\x9F\x8D\x8A.")}), 2);
    EXPECT_EQ(PixelSpriteView::spriteSize({u"..nn"_qs, u"nnnn"_qs}, 4), QSizeF(16, 8));
    EXPECT_EQ(PixelSpriteView::spriteSize({}, 4), QSizeF(0, 0));
    EXPECT_EQ(PixelSpriteView::spriteSize({u"  .."_qs}, 2.5), QSizeF(10, 2.5));

    PixelSpriteView view({u"..nn"_qs, u"nnnn"_qs}, 4);
    EXPECT_EQ(view.sizeHint(), QSize(16, 8));
}

TEST(PixelSprite, DrawsLettersAndLeavesTheRestClear)
{
    const QColor n = colorFromHex(u"6F5CB8");
    const QImage two = paintSprite({u"..nn"_qs, u"nnnn"_qs}, 4, QSize(16, 8));
    EXPECT_EQ(qAlpha(two.pixel(2, 2)), 0);
    EXPECT_EQ(qAlpha(two.pixel(6, 2)), 0);
    EXPECT_EQ(two.pixelColor(10, 2).rgb(), n.rgb());
    EXPECT_EQ(two.pixelColor(14, 2).rgb(), n.rgb());
    EXPECT_EQ(two.pixelColor(1, 6).rgb(), n.rgb());

    // A short row leaves the rest of its width clear; unknown letters and
    // spaces draw nothing; case matters.
    const QImage mixed = paintSprite({u"Ww"_qs, u"W"_qs, u" x?"_qs}, 3, QSize(9, 9));
    EXPECT_EQ(mixed.pixelColor(1, 1).rgb(), QColor(Qt::white).rgb());
    EXPECT_EQ(mixed.pixelColor(4, 1).rgb(), colorFromHex(u"EDEAF6").rgb());
    EXPECT_EQ(qAlpha(mixed.pixel(4, 4)), 0);
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(qAlpha(mixed.pixel(x, 7)), 0);

    const QImage empty = paintSprite({}, 4, QSize(4, 4));
    EXPECT_EQ(qAlpha(empty.pixel(1, 1)), 0);
    const QImage blank = paintSprite({u"...."_qs}, 4, QSize(16, 4));
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(qAlpha(blank.pixel(x, 2)), 0);
}
