#pragma once

#include <QColor>
#include <QStringView>

namespace pomelark {

/// Defines `const QColor &name()` returning a colour made once from `hex` on
/// first read (a function-local static: safe under concurrent first reads).
#define POMELARK_HEX_COLOR(name, hex)                                   \
    const QColor &name()                                                \
    {                                                                   \
        static const QColor color = ::pomelark::colorFromHex(u"" hex);  \
        return color;                                                   \
    }

/// Builds an opaque sRGB colour from hexadecimal text such as "FAF7F2" or "#b5a4e8".
/// Never fails: surrounding white space and every "#" are dropped, an optional
/// "0x" prefix is read, digits are read up to the first other character, and text
/// with no leading digit gives black. Only the low 24 bits of the number count
/// (red, green, blue from high to low); higher digits are ignored.
QColor colorFromHex(QStringView text);

/// The colour a fraction `t` (0…1) of the way from `from` to `to`, interpolated
/// on premultiplied components so that fading from transparent to a colour
/// never passes through a darker shade. `t` outside 0…1 is clamped.
QColor mixColors(const QColor &from, const QColor &to, qreal t);

/// `color` with its opacity multiplied by `factor`.
QColor withOpacity(QColor color, qreal factor);

} // namespace pomelark
