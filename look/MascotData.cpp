// The mascot's data: silhouette, bands, overlays, colourings and faces.
#include "look/Color.h"
#include "look/PixelCharacter.h"

namespace pomelark {

namespace MascotColors {

POMELARK_HEX_COLOR(ink, "2A2520")
POMELARK_HEX_COLOR(mouth, "9A6275")
POMELARK_HEX_COLOR(blush, "F58FAE")
POMELARK_HEX_COLOR(white, "FFFFFF")
POMELARK_HEX_COLOR(lensRing, "FFC9D9")
POMELARK_HEX_COLOR(lensCore, "5E4A8A")

} // namespace MascotColors

namespace {

struct Cell {
    int x;
    int y;
};

// Appends `cells`, in order, all in one brush.
void add(std::vector<OverlayPixel> &list, std::initializer_list<Cell> cells, const BrushColor &color)
{
    for (const Cell &cell : cells)
        list.push_back({cell.x, cell.y, color});
}

PixelPalette paletteFromHex(const char16_t *body, const char16_t *highlight, const char16_t *shade,
                            const char16_t *outline)
{
    return {colorFromHex(body), colorFromHex(highlight), colorFromHex(shade), colorFromHex(outline)};
}

} // namespace

const std::vector<OverlayPixel> &PixelCharacter::mascotGloss()
{
    static const std::vector<OverlayPixel> gloss = [] {
        std::vector<OverlayPixel> list;
        add(list, {{5, 2}}, BrushColor::fixed(MascotColors::white()));
        add(list, {{4, 3}}, BrushColor::highlight());
        return list;
    }();
    return gloss;
}

const std::vector<OverlayPixel> &PixelCharacter::mascotLensOverlay()
{
    static const std::vector<OverlayPixel> lens = [] {
        std::vector<OverlayPixel> list;
        add(list, {{10, 3}, {11, 3}, {12, 3}, {10, 4}, {12, 4}, {10, 5}, {11, 5}, {12, 5}},
            BrushColor::fixed(MascotColors::lensRing()));
        add(list, {{11, 4}}, BrushColor::fixed(MascotColors::lensCore()));
        // The glint comes last and so replaces the ring pixel under it.
        add(list, {{12, 3}}, BrushColor::fixed(MascotColors::white()));
        return list;
    }();
    return lens;
}

const std::vector<OverlayPixel> &PixelCharacter::mascotBlush()
{
    static const std::vector<OverlayPixel> blush = [] {
        std::vector<OverlayPixel> list;
        add(list, {{2, 8}, {3, 8}, {12, 8}, {13, 8}}, BrushColor::fixed(MascotColors::blush()));
        return list;
    }();
    return blush;
}

const QHash<QString, PixelPalette> &PixelCharacter::mascotPalettes()
{
    static const QHash<QString, PixelPalette> palettes{
        {QStringLiteral("lavender"), paletteFromHex(u"B5A4E8", u"CFC2F2", u"9F8BD8", u"6F5CB8")},
        {QStringLiteral("pink"), paletteFromHex(u"FFC9D9", u"FFE0E9", u"F2A1BC", u"D77E9B")},
        {QStringLiteral("mint"), paletteFromHex(u"B8E6D0", u"D6F2E4", u"93D2B5", u"6BAE8E")},
        {QStringLiteral("butter"), paletteFromHex(u"F4D58A", u"FBE9B8", u"E3B85C", u"C2933B")},
    };
    return palettes;
}

const QHash<QString, std::vector<OverlayPixel>> &PixelCharacter::mascotExpressions()
{
    static const QHash<QString, std::vector<OverlayPixel>> expressions = [] {
        const BrushColor ink = BrushColor::fixed(MascotColors::ink());
        const BrushColor white = BrushColor::fixed(MascotColors::white());
        const BrushColor mouth = BrushColor::fixed(MascotColors::mouth());

        QHash<QString, std::vector<OverlayPixel>> faces;

        std::vector<OverlayPixel> happy = mascotBlush();
        add(happy, {{4, 6}, {5, 6}, {4, 7}, {5, 7}, {10, 6}, {11, 6}, {10, 7}, {11, 7}}, ink);
        add(happy, {{5, 6}, {11, 6}}, white);
        add(happy, {{7, 10}, {8, 10}, {6, 9}, {9, 9}}, mouth);
        faces.insert(QStringLiteral("happy"), happy);

        std::vector<OverlayPixel> blink = mascotBlush();
        add(blink, {{3, 7}, {4, 7}, {5, 7}, {10, 7}, {11, 7}, {12, 7}}, ink);
        add(blink, {{7, 10}, {8, 10}}, mouth);
        faces.insert(QStringLiteral("blink"), blink);

        std::vector<OverlayPixel> wink = mascotBlush();
        add(wink, {{3, 7}, {4, 7}, {5, 7}, {10, 6}, {11, 6}, {10, 7}, {11, 7}}, ink);
        add(wink, {{11, 6}}, white);
        add(wink, {{7, 10}, {8, 10}, {9, 9}}, mouth);
        faces.insert(QStringLiteral("wink"), wink);

        std::vector<OverlayPixel> uwu = mascotBlush();
        add(uwu, {{3, 7}, {4, 6}, {5, 7}, {10, 7}, {11, 6}, {12, 7}}, ink);
        add(uwu, {{6, 9}, {7, 10}, {8, 10}, {9, 9}}, mouth);
        faces.insert(QStringLiteral("uwu"), uwu);

        std::vector<OverlayPixel> blow = mascotBlush();
        add(blow, {{3, 7}, {4, 7}, {5, 7}, {10, 7}, {11, 7}, {12, 7}}, ink);
        add(blow, {{7, 9}, {8, 9}, {7, 10}, {8, 10}}, mouth);
        faces.insert(QStringLiteral("blow"), blow);

        // The one face without blush.
        std::vector<OverlayPixel> surprised;
        add(surprised, {{4, 6}, {5, 6}, {4, 7}, {5, 7}, {10, 6}, {11, 6}, {10, 7}, {11, 7}}, ink);
        add(surprised, {{4, 6}, {10, 6}}, white);
        add(surprised, {{7, 9}, {8, 9}, {7, 10}, {8, 10}}, mouth);
        faces.insert(QStringLiteral("surprised"), surprised);

        return faces;
    }();
    return expressions;
}

const PixelCharacter &PixelCharacter::mascot()
{
    static const PixelCharacter character = [] {
        PixelCharacter c;
        c.gridWidth = 16;
        c.gridHeight = 14;
        c.highlightRows = {0, 3};
        c.shadeRows = {10, 13};
        c.silhouette = {{5, 10}, {3, 12}, {2, 13}, {1, 14}, {1, 14}, {0, 15}, {0, 15},
                        {0, 15}, {0, 15}, {0, 15}, {1, 14}, {1, 14}, {2, 13}, {4, 11}};
        c.gloss = mascotGloss();
        c.lensOverlay = mascotLensOverlay();
        c.palettes = mascotPalettes();
        c.expressions = mascotExpressions();
        return c;
    }();
    return character;
}

} // namespace pomelark
