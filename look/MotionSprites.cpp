#include "look/MotionSprites.h"

namespace pomelark::MotionSprites {

#define POMELARK_SPRITE(name, ...)                                      \
    const QStringList &name()                                           \
    {                                                                   \
        static const QStringList rows{__VA_ARGS__};                     \
        return rows;                                                    \
    }

POMELARK_SPRITE(note, u"...nn"_qs, u"...N."_qs, u"...n."_qs, u".nnn."_qs, u"nnnn."_qs, u"NnnN."_qs, u".nn.."_qs)
POMELARK_SPRITE(puff, u"WWWWw"_qs, u"wWWWW"_qs)
POMELARK_SPRITE(imprint, u".RRRR."_qs, u"RRRRRR"_qs, u"RRRRRR"_qs, u".RRRR."_qs)
POMELARK_SPRITE(stamp, u".rRRr."_qs, u".rRRr."_qs, u"..RR.."_qs, u"..RR.."_qs, u"RRRRRR"_qs, u"RRRRRR"_qs)
POMELARK_SPRITE(spark, u".ww."_qs, u"wWWw"_qs, u"wWWw"_qs, u".ww."_qs)
POMELARK_SPRITE(heart, u".p.p."_qs, u"PPPPP"_qs, u"PPPPP"_qs, u".PPP."_qs, u"..P.."_qs)
POMELARK_SPRITE(letterZ, u"NNNN"_qs, u"...N"_qs, u"..N."_qs, u".N.."_qs, u"NNNN"_qs)
POMELARK_SPRITE(magnifier, u".bbbb.."_qs, u"bggggb."_qs, u"bgWggb."_qs, u"bggggb."_qs, u"bggggb."_qs,
                u".bbbbh."_qs, u".....hH"_qs, u"......H"_qs)
POMELARK_SPRITE(blade, u"...M.."_qs, u"..MM.."_qs, u"..mM.."_qs, u"..MM.."_qs, u"..mM.."_qs, u"..MM.."_qs,
                u"..mM.."_qs, u".rRr.."_qs, u".R.R.."_qs, u".rRr.."_qs)
POMELARK_SPRITE(snippet, u"WW"_qs, u"WW"_qs)

#undef POMELARK_SPRITE

} // namespace pomelark::MotionSprites
