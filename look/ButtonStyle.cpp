#include "look/ButtonStyle.h"

#include "look/Palette.h"

namespace pomelark {

const ButtonStyle &ButtonStyle::primary()
{
    static const ButtonStyle style{14,
                                   QFont::DemiBold,
                                   Qt::white,
                                   20,
                                   10,
                                   12,
                                   Palette::accent(),
                                   Palette::accentDeep(),
                                   Qt::transparent,
                                   Qt::transparent,
                                   Shadows::accentGlow(),
                                   0.45,
                                   0.97};
    return style;
}

const ButtonStyle &ButtonStyle::secondary()
{
    static const ButtonStyle style{14,
                                   QFont::DemiBold,
                                   Palette::ink(),
                                   20,
                                   10,
                                   12,
                                   Palette::surface(),
                                   Palette::accentSoft(),
                                   Palette::line(),
                                   Palette::accent(),
                                   Shadows::none(),
                                   0.45,
                                   0.97};
    return style;
}

const ButtonStyle &ButtonStyle::ghost()
{
    static const ButtonStyle style{12,
                                   QFont::DemiBold,
                                   Palette::accentDeep(),
                                   10,
                                   6,
                                   8,
                                   Qt::transparent,
                                   Palette::accentSoft(),
                                   Qt::transparent,
                                   Qt::transparent,
                                   Shadows::none(),
                                   1.0,
                                   1.0};
    return style;
}

} // namespace pomelark
