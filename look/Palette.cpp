#include "look/Palette.h"

#include "look/Color.h"

namespace pomelark::Palette {

POMELARK_HEX_COLOR(background, "FAF7F2")
POMELARK_HEX_COLOR(surface, "FFFFFF")
POMELARK_HEX_COLOR(line, "ECE6DC")
POMELARK_HEX_COLOR(divider, "E5DED2")
POMELARK_HEX_COLOR(ink, "2A2520")
POMELARK_HEX_COLOR(inkSecondary, "8A7F75")
POMELARK_HEX_COLOR(inkTertiary, "B8AEA2")
POMELARK_HEX_COLOR(accent, "B5A4E8")
POMELARK_HEX_COLOR(accentDeep, "9F8BD8")
POMELARK_HEX_COLOR(accentSoft, "EDE7FA")
POMELARK_HEX_COLOR(mintSoft, "B8E6D0")
POMELARK_HEX_COLOR(mint, "6FBF8F")
POMELARK_HEX_COLOR(amber, "E8B654")
POMELARK_HEX_COLOR(coral, "E8847A")

} // namespace pomelark::Palette
