#pragma once

#include <QFont>

namespace pomelark {

/// The system font of the look: the desktop's default sans family, falling back
/// to Noto Sans CJK for Korean, sized in logical pixels (sizes in points would come
/// out a third too large).
namespace LookFont {
/// The font at `pixelSize` with `weight`. Never fails; a missing family falls back
/// to whatever the font system picks for sans serif.
QFont system(int pixelSize, QFont::Weight weight = QFont::Normal);
} // namespace LookFont

} // namespace pomelark
