#include "look/Palette.h"

#include "look/Color.h"

namespace pomelark::Palette {

// Function-local statics: created on first read, exactly once, safely under
// concurrent first reads.
#define POMELARK_PALETTE_COLOR(name, hex)                               \
    const QColor &name()                                                \
    {                                                                   \
        static const QColor color = colorFromHex(u"" hex);              \
        return color;                                                   \
    }

POMELARK_PALETTE_COLOR(background, "FAF7F2")
POMELARK_PALETTE_COLOR(surface, "FFFFFF")
POMELARK_PALETTE_COLOR(line, "ECE6DC")
POMELARK_PALETTE_COLOR(divider, "E5DED2")
POMELARK_PALETTE_COLOR(ink, "2A2520")
POMELARK_PALETTE_COLOR(inkSecondary, "8A7F75")
POMELARK_PALETTE_COLOR(inkTertiary, "B8AEA2")
POMELARK_PALETTE_COLOR(accent, "B5A4E8")
POMELARK_PALETTE_COLOR(accentDeep, "9F8BD8")
POMELARK_PALETTE_COLOR(accentSoft, "EDE7FA")
POMELARK_PALETTE_COLOR(mintSoft, "B8E6D0")
POMELARK_PALETTE_COLOR(mint, "6FBF8F")
POMELARK_PALETTE_COLOR(amber, "E8B654")
POMELARK_PALETTE_COLOR(coral, "E8847A")

#undef POMELARK_PALETTE_COLOR

} // namespace pomelark::Palette
