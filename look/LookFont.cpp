#include "look/LookFont.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace pomelark::LookFont {

QFont system(int pixelSize, QFont::Weight weight)
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
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

} // namespace pomelark::LookFont
