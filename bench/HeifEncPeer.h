#pragma once

// heif-enc, the peer of our photo conversion, with the encoder settings our
// HEIC writer uses (x265's medium preset, 32-pixel coding units): with
// its own defaults it would take a slower preset and time a different encode.

#include <QStringList>

namespace pomelark::bench {

inline QStringList heifEncSettings(int quality)
{
    return {QStringLiteral("-q"), QString::number(quality), QStringLiteral("-p"), QStringLiteral("preset=medium"),
            QStringLiteral("-p"), QStringLiteral("x265:ctu=32")};
}

} // namespace pomelark::bench
