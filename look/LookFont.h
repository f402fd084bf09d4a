#pragma once

#include <QFont>

namespace pomelark {

/// The fonts of the look, sized in logical pixels (sizes in points would come out
/// a third too large). Sizes keep their fractions: a font of 12.5 px carries
/// that size, and views that draw it through `scaledForDrawing` show it at 12.5 px.
namespace LookFont {

/// The system font: the desktop's default sans family, falling back to Noto Sans
/// CJK for Korean, at `pixelSize` with `weight`. Never fails; a missing family
/// falls back to whatever the font system picks for sans serif.
QFont system(qreal pixelSize, QFont::Weight weight = QFont::Normal);

/// The rounded design of big titles and numbers: the rounded family (one face
/// for Hangul and Latin alike, so both languages look the same) in the cut that
/// stands for `weight`. Where the family is not installed, the system font at
/// the same size and weight.
QFont rounded(qreal pixelSize, QFont::Weight weight = QFont::Normal);

/// A font to draw with and the scale to draw it at.
struct ScaledFont {
    QFont font;
    qreal scale = 1;
};

/// How to draw `font` at its exact size. Qt rounds every font to whole pixels
/// when it draws, so a fractional size (12.5) comes back as the same font at a
/// whole size that many times larger (25) with the scale that brings it down
/// (0.5): lay the text out in that font and draw it through the scale. A whole
/// size comes back as it is, at scale 1.
ScaledFont scaledForDrawing(const QFont &font);

/// The weight of the rounded family's cut that draws `weight`.
QFont::Weight roundedCut(QFont::Weight weight);

/// The family the rounded design is drawn in: "NanumSquareRound" unless replaced.
QString roundedFamily();
/// Replaces the rounded family, so that a test can draw as on a machine without
/// it; an empty name brings back the usual one.
void setRoundedFamily(const QString &family);

} // namespace LookFont

} // namespace pomelark
