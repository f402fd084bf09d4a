#include "look/MotionFrame.h"

#include "look/PixelCharacter.h"

#include <cmath>

namespace pomelark {

const PixelPalette &paletteNamed(const QString &name)
{
    const auto &palettes = PixelCharacter::mascot().palettes;
    const auto found = palettes.constFind(name);
    if (found != palettes.constEnd())
        return *found;
    return *palettes.constFind(QStringLiteral("lavender"));
}

double loopMilliseconds(double t, double period)
{
    double position = std::fmod(t, period);
    if (position < 0)
        position += period;
    // The product may round up to the period's end itself; every phase table
    // lets its last row hold through that end.
    return position * 1000.0;
}

} // namespace pomelark
