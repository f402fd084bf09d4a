#pragma once

#include "look/PixelPalette.h"

#include <QColor>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace pomelark {

/// The colour of one overlay pixel: a fixed colour, or a role of whatever
/// palette the character is drawn in.
class BrushColor {
public:
    enum class Kind { Fixed, Body, Highlight, Shade, Outline };

    static BrushColor fixed(const QColor &color) { return BrushColor(Kind::Fixed, color); }
    static BrushColor body() { return BrushColor(Kind::Body); }
    static BrushColor highlight() { return BrushColor(Kind::Highlight); }
    static BrushColor shade() { return BrushColor(Kind::Shade); }
    static BrushColor outline() { return BrushColor(Kind::Outline); }

    Kind kind() const { return m_kind; }

    /// The colour this brush paints with `palette`.
    QColor resolve(const PixelPalette &palette) const;

private:
    explicit BrushColor(Kind kind, QColor color = {}) : m_kind(kind), m_color(color) {}

    Kind m_kind;
    QColor m_color;
};

/// One single-cell overlay at column `x`, row `y` (0, 0 at the top left).
struct OverlayPixel {
    int x = 0;
    int y = 0;
    BrushColor color;
};

/// One row's filled columns, both ends included; `end` < `start` is an empty row.
struct PixelSpan {
    int start = 0;
    int end = -1;
    bool contains(int x) const { return x >= start && x <= end; }
};

/// Rows `first` to `last` inclusive; `last` < `first` holds no row.
struct RowRange {
    int first = 0;
    int last = -1;
    bool contains(int y) const { return y >= first && y <= last; }
};

/// A character's colours cell by cell: `gridHeight` rows of `gridWidth` cells,
/// each a colour or transparent.
class ResolvedGrid {
public:
    ResolvedGrid(int width, int height) : m_width(width), m_height(height), m_cells(size_t(width * height)) {}

    int width() const { return m_width; }
    int height() const { return m_height; }

    /// The cell's colour, or nothing for a transparent cell or one outside the grid.
    std::optional<QColor> at(int x, int y) const
    {
        if (!contains(x, y))
            return std::nullopt;
        return m_cells[index(x, y)];
    }
    /// Colours a cell; a cell outside the grid is ignored.
    void set(int x, int y, const QColor &color)
    {
        if (contains(x, y))
            m_cells[index(x, y)] = color;
    }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    friend bool operator==(const ResolvedGrid &, const ResolvedGrid &) = default;

private:
    size_t index(int x, int y) const { return size_t(y) * size_t(m_width) + size_t(x); }

    int m_width;
    int m_height;
    std::vector<std::optional<QColor>> m_cells;
};

/// Pixel art described rather than stored: one filled span per row, a lighter
/// band of top rows and a darker band of bottom rows, an outline worked out from
/// the silhouette, and overlays of single pixels (a gloss, an optional lens and
/// one list per facial expression).
struct PixelCharacter {
    int gridWidth = 0;
    int gridHeight = 0;
    std::vector<PixelSpan> silhouette;
    RowRange highlightRows;
    RowRange shadeRows;
    std::vector<OverlayPixel> gloss;
    std::vector<OverlayPixel> lensOverlay;
    QHash<QString, PixelPalette> palettes;
    QHash<QString, std::vector<OverlayPixel>> expressions;

    /// The grid of colours for `palette`, `expression` and the lens flag. An
    /// expression name the character lacks adds no face and is not an error.
    /// Rows missing from `silhouette` stay transparent, and span cells or
    /// overlay pixels outside the grid are dropped, so a malformed character
    /// draws what it can instead of failing.
    ResolvedGrid resolvedGrid(const PixelPalette &palette, const QString &expression, bool showLens) const;

    /// The application's one character: a round 16 × 14 blob with four
    /// colourings and six faces. Made once, on first use, and never changed.
    static const PixelCharacter &mascot();
    static const std::vector<OverlayPixel> &mascotGloss();
    static const std::vector<OverlayPixel> &mascotLensOverlay();
    static const std::vector<OverlayPixel> &mascotBlush();
    static const QHash<QString, PixelPalette> &mascotPalettes();
    static const QHash<QString, std::vector<OverlayPixel>> &mascotExpressions();
};

/// The mascot's fixed colours, each made once on first read.
namespace MascotColors {
const QColor &ink();      ///< eyes
const QColor &mouth();
const QColor &blush();    ///< cheeks
const QColor &white();    ///< gloss spot, eye glints, lens glint
const QColor &lensRing();
const QColor &lensCore();
} // namespace MascotColors

} // namespace pomelark
