#include "look/LookFont.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace pomelark::LookFont {

namespace {

qreal logicalDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96;
}

bool isWhole(qreal size)
{
    return std::abs(size - std::round(size)) < 1e-6;
}

/// Sets the size in logical pixels, fraction included. A whole size goes in as
/// pixels; QFont keeps fractions only in points, which it turns back into pixels
/// at the screen's logical resolution.
void setSize(QFont &font, qreal pixelSize)
{
    pixelSize = std::max<qreal>(pixelSize, 1);
    if (isWhole(pixelSize))
        font.setPixelSize(int(std::round(pixelSize)));
    else
        font.setPointSizeF(pixelSize * 72 / logicalDpi());
}

QString &replacedRoundedFamily()
{
    static QString family;
    return family;
}

} // namespace

QFont system(qreal pixelSize, QFont::Weight weight)
{
    // The general font is the desktop's choice; the CJK family follows it so that
    // Hangul never falls to a bitmap or serif face.
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    QStringList families = font.families();
    if (families.isEmpty())
        families << font.family();
    families << QStringLiteral("Noto Sans CJK KR") << QStringLiteral("Noto Sans KR");
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    setSize(font, pixelSize);
    font.setWeight(weight);
    return font;
}

QFont rounded(qreal pixelSize, QFont::Weight weight)
{
    const QString family = roundedFamily();
    if (!QFontDatabase::hasFamily(family))
        return system(pixelSize, weight);
    // The plain families stay behind it for any character the rounded face lacks.
    QFont font = system(pixelSize, roundedCut(weight));
    font.setFamilies(QStringList{family} + font.families());
    return font;
}

ScaledFont scaledForDrawing(const QFont &font)
{
    if (font.pixelSize() > 0 || font.pointSizeF() <= 0)
        return {font, 1};
    const qreal pixelSize = font.pointSizeF() * logicalDpi() / 72;
    // The smallest whole multiple of the size; sizes with finer fractions than
    // tenths take tenths.
    int times = 1;
    while (times < 10 && !isWhole(pixelSize * times))
        ++times;
    QFont drawn = font;
    drawn.setPixelSize(std::max(1, int(std::round(pixelSize * times))));
    return {drawn, 1.0 / times};
}

QFont::Weight roundedCut(QFont::Weight weight)
{
    // The rounded family comes in Light, Regular, Bold and ExtraBold, and its
    // strokes run lighter than the plain face's: its Bold looks like a medium,
    // its ExtraBold like a semibold. So from medium up each weight takes the
    // next heavier cut, and the text keeps the heft the plain face would give it.
    if (weight < QFont::Normal)
        return QFont::Light;
    if (weight < QFont::Medium)
        return QFont::Normal;
    if (weight < QFont::DemiBold)
        return QFont::Bold;
    return QFont::ExtraBold;
}

QString roundedFamily()
{
    return replacedRoundedFamily().isEmpty() ? QStringLiteral("NanumSquareRound") : replacedRoundedFamily();
}

void setRoundedFamily(const QString &family)
{
    replacedRoundedFamily() = family;
}

} // namespace pomelark::LookFont
