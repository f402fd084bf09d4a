#include "look/Color.h"
#include "look/PixelCharacter.h"
#include "look/PixelCharacterView.h"
#include "look/PixelRaster.h"
#include "look/ResolvedGridCache.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace pomelark;

namespace {

const QStringList goldenLavenderHappyLens = {
    u".....OOOOOO....."_qs, u"...OOhhhhhhOO..."_qs, u"..OhhWhhhhhhhO.."_qs, u".OhhhhhhhhLLWhO."_qs,
    u".ObbbbbbbbLKLbO."_qs, u"ObbbbbbbbbLLLbbO"_qs, u"ObbbIWbbbbIWbbbO"_qs, u"ObbbIIbbbbIIbbbO"_qs,
    u"ObPPbbbbbbbbPPbO"_qs, u"ObbbbbMbbMbbbbbO"_qs, u".OsssssMMsssssO."_qs, u".OssssssssssssO."_qs,
    u"..OOssssssssOO.."_qs, u"....OOOOOOOO...."_qs,
};

const PixelPalette &palette(const char *name)
{
    return PixelCharacter::mascotPalettes().find(QString::fromLatin1(name)).value();
}

// The letters of the pictures above: palette roles, then the fixed colours.
std::optional<QColor> colorOfLetter(QChar letter, const PixelPalette &p)
{
    switch (letter.unicode()) {
    case u'.': return std::nullopt;
    case u'O': return p.outline;
    case u'h': return p.highlight;
    case u'b': return p.body;
    case u's': return p.shade;
    case u'W': return colorFromHex(u"FFFFFF");
    case u'L': return colorFromHex(u"FFC9D9");
    case u'K': return colorFromHex(u"5E4A8A");
    case u'I': return colorFromHex(u"2A2520");
    case u'P': return colorFromHex(u"F58FAE");
    case u'M': return colorFromHex(u"9A6275");
    }
    ADD_FAILURE() << "unknown letter";
    return std::nullopt;
}

QString describe(const std::optional<QColor> &color)
{
    return color ? color->name(QColor::HexRgb) : QStringLiteral("clear");
}

// Compares every cell and names each one that differs.
void expectGrid(const ResolvedGrid &grid, const QStringList &picture, const PixelPalette &p)
{
    ASSERT_EQ(grid.height(), picture.size());
    for (int y = 0; y < grid.height(); ++y) {
        ASSERT_EQ(grid.width(), picture[y].size());
        for (int x = 0; x < grid.width(); ++x) {
            const std::optional<QColor> expected = colorOfLetter(picture[y][x], p);
            EXPECT_EQ(describe(grid.at(x, y)), describe(expected)) << "cell (" << x << ", " << y << ")";
        }
    }
}

QStringList withCells(QStringList picture, std::initializer_list<std::tuple<int, int, char>> cells)
{
    for (const auto &[x, y, letter] : cells)
        picture[y][x] = QChar::fromLatin1(letter);
    return picture;
}

PixelCharacter plainCharacter(int width, std::vector<PixelSpan> silhouette)
{
    PixelCharacter c;
    c.gridWidth = width;
    c.gridHeight = int(silhouette.size());
    c.silhouette = std::move(silhouette);
    return c;
}

const PixelPalette testPalette{Qt::blue, Qt::yellow, Qt::darkGreen, Qt::black};

} // namespace

TEST(MascotGrid, LavenderHappyWithLensMatchesThePictureCellByCell)
{
    const PixelPalette &lavender = palette("lavender");
    expectGrid(PixelCharacter::mascot().resolvedGrid(lavender, u"happy"_qs, true), goldenLavenderHappyLens, lavender);
}

TEST(MascotGrid, VariantsChangeOnlyTheirCells)
{
    const PixelCharacter &mascot = PixelCharacter::mascot();
    const PixelPalette &lavender = palette("lavender");
    // No lens: the cells under it take their rows' own colours.
    expectGrid(mascot.resolvedGrid(lavender, u"happy"_qs, false),
               withCells(goldenLavenderHappyLens, {{10, 3, 'h'}, {11, 3, 'h'}, {12, 3, 'h'}, {10, 4, 'b'},
                                                  {11, 4, 'b'}, {12, 4, 'b'}, {10, 5, 'b'}, {11, 5, 'b'},
                                                  {12, 5, 'b'}}),
               lavender);
    // Surprised: glints upper left, a round mouth, and no blush.
    expectGrid(mascot.resolvedGrid(lavender, u"surprised"_qs, true),
               withCells(goldenLavenderHappyLens,
                         {{2, 8, 'b'}, {3, 8, 'b'}, {12, 8, 'b'}, {13, 8, 'b'}, {4, 6, 'W'}, {5, 6, 'I'},
                          {10, 6, 'W'}, {11, 6, 'I'}, {6, 9, 'b'}, {9, 9, 'b'}, {7, 9, 'M'}, {8, 9, 'M'}}),
               lavender);
    // Butter: the palette roles change, fixed colours stay, and the gloss pixel
    // drawn in the highlight role follows the palette.
    const PixelPalette &butter = palette("butter");
    EXPECT_EQ(butter.body, colorFromHex(u"F4D58A"));
    EXPECT_EQ(butter.highlight, colorFromHex(u"FBE9B8"));
    EXPECT_EQ(butter.shade, colorFromHex(u"E3B85C"));
    EXPECT_EQ(butter.outline, colorFromHex(u"C2933B"));
    expectGrid(mascot.resolvedGrid(butter, u"happy"_qs, true), goldenLavenderHappyLens, butter);
}

TEST(MascotGrid, EveryFaceDrawsItsOwnPixelsOverTheBlush)
{
    const PixelCharacter &mascot = PixelCharacter::mascot();
    const PixelPalette &mint = palette("mint");
    const QColor ink = colorFromHex(u"2A2520");
    const QColor mouth = colorFromHex(u"9A6275");
    const QColor blush = colorFromHex(u"F58FAE");
    struct Face {
        const char16_t *name;
        std::vector<std::pair<int, int>> ink;
        std::vector<std::pair<int, int>> mouth;
    };
    const Face faces[] = {
        {u"blink", {{3, 7}, {4, 7}, {5, 7}, {10, 7}, {11, 7}, {12, 7}}, {{7, 10}, {8, 10}}},
        {u"wink", {{3, 7}, {4, 7}, {5, 7}, {10, 6}, {10, 7}, {11, 7}}, {{7, 10}, {8, 10}, {9, 9}}},
        {u"uwu", {{3, 7}, {4, 6}, {5, 7}, {10, 7}, {11, 6}, {12, 7}}, {{6, 9}, {7, 10}, {8, 10}, {9, 9}}},
        {u"blow", {{3, 7}, {4, 7}, {5, 7}, {10, 7}, {11, 7}, {12, 7}}, {{7, 9}, {8, 9}, {7, 10}, {8, 10}}},
    };
    for (const Face &face : faces) {
        SCOPED_TRACE(QString::fromUtf16(face.name).toStdString());
        const ResolvedGrid grid = mascot.resolvedGrid(mint, QString::fromUtf16(face.name), true);
        for (auto [x, y] : face.ink)
            EXPECT_EQ(grid.at(x, y), ink) << x << "," << y;
        for (auto [x, y] : face.mouth)
            EXPECT_EQ(grid.at(x, y), mouth) << x << "," << y;
        for (auto [x, y] : {std::pair{2, 8}, {3, 8}, {12, 8}, {13, 8}})
            EXPECT_EQ(grid.at(x, y), blush);
    }
    // The wink's open eye keeps its glint; the closed eye has none.
    const ResolvedGrid wink = mascot.resolvedGrid(mint, u"wink"_qs, true);
    EXPECT_EQ(wink.at(11, 6), colorFromHex(u"FFFFFF"));
    EXPECT_EQ(wink.at(4, 6), mint.body);
    EXPECT_EQ(mascot.expressions.size(), 6);
}

TEST(MascotGrid, PalettesCarryTheirColours)
{
    const auto &palettes = PixelCharacter::mascotPalettes();
    ASSERT_EQ(palettes.size(), 4);
    EXPECT_EQ(palette("lavender"), (PixelPalette{colorFromHex(u"B5A4E8"), colorFromHex(u"CFC2F2"),
                                                 colorFromHex(u"9F8BD8"), colorFromHex(u"6F5CB8")}));
    EXPECT_EQ(palette("pink"), (PixelPalette{colorFromHex(u"FFC9D9"), colorFromHex(u"FFE0E9"),
                                             colorFromHex(u"F2A1BC"), colorFromHex(u"D77E9B")}));
    EXPECT_EQ(palette("mint"), (PixelPalette{colorFromHex(u"B8E6D0"), colorFromHex(u"D6F2E4"),
                                             colorFromHex(u"93D2B5"), colorFromHex(u"6BAE8E")}));
    EXPECT_NE(qHash(palette("pink")), qHash(palette("mint")));
}

TEST(PixelCharacterResolve, OutlineFollowsTheSilhouetteShape)
{
    // One row: no row has both neighbours, so all outline.
    const ResolvedGrid oneRow = plainCharacter(5, {{0, 4}}).resolvedGrid(testPalette, {}, false);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(oneRow.at(x, 0), testPalette.outline);

    // Spans of one and two cells between wide rows are all outline; an empty row is clear.
    const PixelCharacter narrow = plainCharacter(6, {{0, 5}, {2, 2}, {0, 5}, {2, 3}, {0, 5}, {3, 1}, {0, 5}});
    const ResolvedGrid grid = narrow.resolvedGrid(testPalette, {}, false);
    EXPECT_EQ(grid.at(2, 1), testPalette.outline);
    EXPECT_EQ(grid.at(2, 3), testPalette.outline);
    EXPECT_EQ(grid.at(3, 3), testPalette.outline);
    for (int x = 0; x < 6; ++x)
        EXPECT_FALSE(grid.at(x, 5).has_value());

    // Overhang: row 1 reaches beyond row 0 and row 2, and those cells are outline
    // even though they sit in the middle of row 1's span.
    const PixelCharacter bulge = plainCharacter(9, {{3, 5}, {0, 8}, {2, 6}, {0, 8}});
    const ResolvedGrid b = bulge.resolvedGrid(testPalette, {}, false);
    EXPECT_EQ(b.at(1, 1), testPalette.outline);
    EXPECT_EQ(b.at(2, 1), testPalette.outline);  // above it row 0 does not reach
    EXPECT_EQ(b.at(3, 1), testPalette.body);
    EXPECT_EQ(b.at(5, 1), testPalette.body);
    EXPECT_EQ(b.at(6, 1), testPalette.outline);
    EXPECT_EQ(b.at(3, 2), testPalette.body);
    EXPECT_EQ(b.at(6, 2), testPalette.outline);  // span end
    EXPECT_FALSE(b.at(0, 0).has_value());
}

TEST(PixelCharacterResolve, BandsAndOverlaysFollowTheirRules)
{
    PixelCharacter c = plainCharacter(5, {{0, 4}, {0, 4}, {0, 4}, {0, 4}, {0, 4}});
    c.highlightRows = {0, 2};
    c.shadeRows = {2, 4};
    const ResolvedGrid bands = c.resolvedGrid(testPalette, {}, false);
    EXPECT_EQ(bands.at(2, 1), testPalette.highlight);
    EXPECT_EQ(bands.at(2, 2), testPalette.highlight);  // in both bands: highlight wins
    EXPECT_EQ(bands.at(2, 3), testPalette.shade);

    // A later overlay pixel replaces an earlier one, also within one list; a
    // pixel may colour a cell outside the silhouette; a role follows the palette.
    c.silhouette[0] = {1, 3};
    c.gloss = {{0, 0, BrushColor::fixed(Qt::red)}, {0, 0, BrushColor::highlight()}};
    c.lensOverlay = {{1, 1, BrushColor::fixed(Qt::magenta)}};
    c.expressions.insert(u"face"_qs, {{1, 1, BrushColor::fixed(Qt::cyan)}, {3, 3, BrushColor::outline()}});
    const ResolvedGrid faced = c.resolvedGrid(testPalette, u"face"_qs, true);
    EXPECT_EQ(faced.at(0, 0), testPalette.highlight);
    EXPECT_EQ(faced.at(1, 1), QColor(Qt::cyan));  // the face comes after the lens
    EXPECT_EQ(faced.at(3, 3), testPalette.outline);
    const PixelPalette other{Qt::gray, Qt::green, Qt::white, Qt::darkRed};
    EXPECT_EQ(c.resolvedGrid(other, u"face"_qs, true).at(0, 0), other.highlight);

    // No lens and an unknown face: exactly the grid without either.
    const ResolvedGrid bare = c.resolvedGrid(testPalette, u"no such face"_qs, false);
    EXPECT_EQ(bare, c.resolvedGrid(testPalette, QString(), false));
    EXPECT_EQ(bare.at(1, 1), testPalette.highlight);
}

TEST(PixelCharacterResolve, MalformedCharactersDrawWhatTheyCan)
{
    PixelCharacter c = plainCharacter(3, {{0, 2}});
    c.gridHeight = 3;  // fewer spans than rows
    c.silhouette[0] = {-2, 5};
    c.gloss = {{7, 7, BrushColor::fixed(Qt::red)}, {-1, 0, BrushColor::body()}};
    const ResolvedGrid grid = c.resolvedGrid(testPalette, {}, true);
    EXPECT_EQ(grid.width(), 3);
    EXPECT_EQ(grid.at(0, 0), testPalette.outline);
    EXPECT_FALSE(grid.at(0, 1).has_value());
    EXPECT_FALSE(grid.at(7, 7).has_value());
}

TEST(ResolvedGridCacheTest, ResolvesEachKeyOnceWhatEverThePixelSize)
{
    ResolvedGridCache &cache = ResolvedGridCache::shared();
    // A colouring no other test uses, so the keys are fresh.
    const PixelPalette fresh{QColor(1, 2, 3), QColor(4, 5, 6), QColor(7, 8, 9), QColor(10, 11, 12)};
    const int before = cache.resolveCount();
    const auto first = cache.grid(PixelCharacter::mascot(), {fresh, u"happy"_qs, true});
    EXPECT_EQ(cache.resolveCount(), before + 1);
    EXPECT_EQ(cache.grid(PixelCharacter::mascot(), {fresh, u"happy"_qs, true}), first);
    EXPECT_EQ(cache.resolveCount(), before + 1);

    // Views drawing the same key at several pixel sizes resolve nothing more.
    QImage canvas(200, 200, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&canvas);
    for (qreal size : {1.0, 2.5, 4.0, 7.25})
        PixelCharacterView::draw(painter, {}, PixelCharacter::mascot(), fresh, u"happy"_qs, size, true);
    EXPECT_EQ(cache.resolveCount(), before + 1);

    // Each other part of the key is its own entry.
    cache.grid(PixelCharacter::mascot(), {fresh, u"happy"_qs, false});
    cache.grid(PixelCharacter::mascot(), {fresh, u"blink"_qs, true});
    EXPECT_EQ(cache.resolveCount(), before + 3);
}

TEST(PixelRasterTest, CellsMeetWithoutSeamsAtFractionalSizes)
{
    const PixelCharacter &mascot = PixelCharacter::mascot();
    const PixelPalette &lavender = palette("lavender");
    for (qreal size : {1.0, 2.3, 3.5, 4.0, 5.7}) {
        for (qreal ratio : {1.0, 1.25, 2.0}) {
            SCOPED_TRACE(size * 100 + ratio);
            const QImage image = PixelCharacterView::raster(mascot, lavender, u"happy"_qs, size, true, ratio);
            EXPECT_NEAR(image.width(), 16 * size * ratio, 0.51);
            EXPECT_NEAR(image.height(), 14 * size * ratio, 0.51);
            // Row 7 spans the full width: no device pixel along it may be clear.
            const int y = int(7.5 * size * ratio);
            for (int x = 0; x < image.width(); ++x)
                ASSERT_EQ(qAlpha(image.pixel(x, y)), 255) << "seam at x " << x;
            // Every pixel is exactly one cell colour: no blending at the edges.
            EXPECT_EQ(image.pixelColor(image.width() / 2, y).rgb(), lavender.body.rgb());
        }
    }
}

TEST(PixelRasterTest, EachPictureIsMadeOncePerSizeAndRatio)
{
    PixelRaster::clearCache();
    const int before = PixelRaster::renderedCount();
    const auto cell = [](int, int) -> std::optional<QColor> { return QColor(Qt::red); };
    PixelRaster::cached(u"test|a"_qs, 2, 2, 3.0, 1.0, cell);
    PixelRaster::cached(u"test|a"_qs, 2, 2, 3.0, 1.0, cell);
    EXPECT_EQ(PixelRaster::renderedCount(), before + 1);
    PixelRaster::cached(u"test|a"_qs, 2, 2, 3.0, 2.0, cell);
    PixelRaster::cached(u"test|a"_qs, 2, 2, 3.5, 1.0, cell);
    EXPECT_EQ(PixelRaster::renderedCount(), before + 3);
    EXPECT_TRUE(PixelRaster::render(0, 2, 3.0, 1.0, cell).isNull());
    EXPECT_TRUE(PixelRaster::render(2, 2, 0.0, 1.0, cell).isNull());
}
