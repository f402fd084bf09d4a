#pragma once

#include <QPainterPath>
#include <QString>

#include <functional>
#include <map>

namespace pomelark::SymbolPaths {

/// Builds one symbol's outline on the 24-unit grid for a stroke width in grid units.
using Builder = std::function<QPainterPath(qreal strokeWidth)>;

/// The builders of every symbol, by name.
const std::map<QString, Builder> &builders();

} // namespace pomelark::SymbolPaths
