// Renders the mascot in every colouring and face into PNG files under the build
// folder (look-gallery/mascot/), for a person to look at. The checks make sure
// each picture was written and shows the character where it should.
#include "support/GalleryPictures.h"

#include "look/Palette.h"
#include "look/PixelCharacter.h"
#include "look/PixelCharacterView.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace pomelark;

namespace {

const QStringList paletteNames = {u"lavender"_qs, u"pink"_qs, u"mint"_qs, u"butter"_qs};
const QStringList expressionNames = {u"happy"_qs, u"blink"_qs, u"wink"_qs,
                                     u"uwu"_qs,   u"blow"_qs,  u"surprised"_qs};

QString mascotGalleryPath(const QString &file)
{
    return test::galleryPath(u"mascot/"_qs + file);
}

} // namespace

TEST(MascotGallery, EveryColouringAndFace)
{
    constexpr qreal pixel = 6;
    constexpr int cell = 120;
    // One sheet: a row per colouring, a column per face, and a last column
    // without the lens.
    QImage sheet(cell * (expressionNames.size() + 1), cell * paletteNames.size(), QImage::Format_ARGB32);
    sheet.fill(Palette::background());
    QPainter painter(&sheet);
    for (int row = 0; row < paletteNames.size(); ++row) {
        const PixelPalette palette = PixelCharacter::mascotPalettes().value(paletteNames[row]);
        for (int column = 0; column <= expressionNames.size(); ++column) {
            const bool lens = column < expressionNames.size();
            const QString face = lens ? expressionNames[column] : u"happy"_qs;
            const QPointF at(column * cell + (cell - 16 * pixel) / 2, row * cell + (cell - 14 * pixel) / 2);
            PixelCharacterView::draw(painter, at, PixelCharacter::mascot(), palette, face, pixel, lens);

            const QImage single = PixelCharacterView::raster(PixelCharacter::mascot(), palette, face, 8, lens, 2);
            const QString file = u"mascot-" + paletteNames[row] + u'-' + face + (lens ? u"" : u"-nolens") + u".png";
            ASSERT_TRUE(single.save(mascotGalleryPath(file)));
            // The outline's top row and the clear corner, at 16 device pixels a cell.
            EXPECT_EQ(single.pixelColor(8 * 16 + 8, 8).rgb(), palette.outline.rgb()) << file.toStdString();
            EXPECT_EQ(qAlpha(single.pixel(8, 8)), 0);
        }
    }
    painter.end();
    ASSERT_TRUE(sheet.save(mascotGalleryPath(u"mascot-sheet.png"_qs)));
}

TEST(MascotGallery, ViewDrawsCentredAtItsPixelSize)
{
    PixelCharacterView view;
    view.setPixelSize(5);
    view.setExpression(u"wink"_qs);
    EXPECT_EQ(view.sizeHint(), QSize(80, 70));
    view.resize(100, 90);
    const QImage image = view.grab().toImage();
    ASSERT_TRUE(image.save(mascotGalleryPath(u"view-wink.png"_qs)));
    const qreal ratio = image.devicePixelRatio();
    const PixelPalette lavender = PixelCharacter::mascotPalettes().value(u"lavender"_qs);
    // Centred: 10 logical pixels of margin left, the outline's top row at y 10.
    EXPECT_EQ(image.pixelColor(int((10 + 5 * 5 + 2) * ratio), int(12 * ratio)).rgb(), lavender.outline.rgb());
    EXPECT_NE(image.pixelColor(int(3 * ratio), int(12 * ratio)).rgb(), lavender.outline.rgb());
}
