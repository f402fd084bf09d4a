#include "look/Color.h"

#include <QString>

#include <algorithm>
#include <cstdint>

namespace pomelark {

namespace {

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Reads like a text scanner's hexadecimal read: optional 0x, then digits up to the
// first other character. Digits past sixteen shift the top ones out; only the low
// 24 bits are used, so that choice cannot change a colour.
std::uint64_t scanHex(QStringView text)
{
    qsizetype pos = 0;
    if (text.size() >= 3 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')
        && hexDigitValue(text[2]) >= 0)
        pos = 2;
    std::uint64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = hexDigitValue(text[pos]);
        if (digit < 0)
            break;
        value = (value << 4) | std::uint64_t(digit);
    }
    return value;
}

} // namespace

QColor colorFromHex(QStringView text)
{
    QString cleaned = text.trimmed().toString();
    cleaned.remove(u'#');
    const std::uint64_t value = scanHex(cleaned);
    const int red = int((value >> 16) & 0xFF);
    const int green = int((value >> 8) & 0xFF);
    const int blue = int(value & 0xFF);
    return QColor::fromRgbF(float(red / 255.0), float(green / 255.0), float(blue / 255.0), 1.0f);
}

QColor mixColors(const QColor &from, const QColor &to, qreal t)
{
    t = std::clamp(t, 0.0, 1.0);
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    const float alpha = float(a.alphaF() + (b.alphaF() - a.alphaF()) * t);
    if (alpha <= 0.0f)
        return QColor::fromRgbF(0, 0, 0, 0);
    auto channel = [&](float ca, float cb) {
        const float premultiplied = float(ca * a.alphaF() + (cb * b.alphaF() - ca * a.alphaF()) * t);
        return std::clamp(premultiplied / alpha, 0.0f, 1.0f);
    };
    return QColor::fromRgbF(channel(a.redF(), b.redF()), channel(a.greenF(), b.greenF()),
                            channel(a.blueF(), b.blueF()), alpha);
}

QColor withOpacity(QColor color, qreal factor)
{
    color.setAlphaF(float(std::clamp(color.alphaF() * factor, 0.0, 1.0)));
    return color;
}

} // namespace pomelark
