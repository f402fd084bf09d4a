#include "look/PixelCharacter.h"

namespace pomelark {

QColor BrushColor::resolve(const PixelPalette &palette) const
{
    switch (m_kind) {
    case Kind::Fixed:
        return m_color;
    case Kind::Body:
        return palette.body;
    case Kind::Highlight:
        return palette.highlight;
    case Kind::Shade:
        return palette.shade;
    case Kind::Outline:
        return palette.outline;
    }
    return m_color;
}

namespace {

// A row the silhouette does not describe is empty.
PixelSpan spanOf(const PixelCharacter &character, int y)
{
    if (y < 0 || size_t(y) >= character.silhouette.size())
        return {};
    return character.silhouette[size_t(y)];
}

// Interior cells have filled neighbours left and right within their own row and
// directly above and below; everything else on the silhouette is outline.
bool isInterior(const PixelCharacter &character, const PixelSpan &span, int x, int y)
{
    const auto inRow = [&](int column) {
        return span.contains(column) && column >= 0 && column <= character.gridWidth - 1;
    };
    return inRow(x - 1) && inRow(x + 1) && x >= 0 && x < character.gridWidth && y > 0
        && y + 1 < character.gridHeight && spanOf(character, y - 1).contains(x)
        && spanOf(character, y + 1).contains(x);
}

void paintOverlay(ResolvedGrid &grid, const std::vector<OverlayPixel> &pixels, const PixelPalette &palette)
{
    for (const OverlayPixel &pixel : pixels)
        grid.set(pixel.x, pixel.y, pixel.color.resolve(palette));
}

} // namespace

ResolvedGrid PixelCharacter::resolvedGrid(const PixelPalette &palette, const QString &expression,
                                          bool showLens) const
{
    ResolvedGrid grid(gridWidth, gridHeight);
    for (int y = 0; y < gridHeight; ++y) {
        const PixelSpan span = spanOf(*this, y);
        for (int x = span.start; x <= span.end; ++x) {
            if (!isInterior(*this, span, x, y))
                grid.set(x, y, palette.outline);
            else if (highlightRows.contains(y))
                grid.set(x, y, palette.highlight);
            else if (shadeRows.contains(y))
                grid.set(x, y, palette.shade);
            else
                grid.set(x, y, palette.body);
        }
    }
    paintOverlay(grid, gloss, palette);
    if (showLens)
        paintOverlay(grid, lensOverlay, palette);
    const auto face = expressions.constFind(expression);
    if (face != expressions.constEnd())
        paintOverlay(grid, *face, palette);
    return grid;
}

} // namespace pomelark
