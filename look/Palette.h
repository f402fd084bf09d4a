#pragma once

#include <QColor>

namespace pomelark {

/// The fourteen colours every screen draws with. Each is made once, on first
/// read (thread-safe), and never changes; there is no dark variant.
namespace Palette {
const QColor &background();   ///< window and full-screen views
const QColor &surface();      ///< cards, bars, tooltip bubble, idle buttons
const QColor &line();         ///< 1 px strokes and hairlines
const QColor &divider();      ///< vertical dividers, thumbnail placeholders
const QColor &ink();          ///< primary text and dark marks
const QColor &inkSecondary(); ///< secondary text and idle icons
const QColor &inkTertiary();  ///< tertiary and muted text
const QColor &accent();       ///< lavender: primary fill, active marks
const QColor &accentDeep();   ///< pressed primary fill, hovered icons
const QColor &accentSoft();   ///< soft accent fill for hover and press
const QColor &mintSoft();
const QColor &mint();
const QColor &amber();        ///< marks of problems
const QColor &coral();        ///< the toolbar's optional message
} // namespace Palette

} // namespace pomelark
