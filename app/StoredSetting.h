#pragma once

#include "look/Binding.h"

#include <QString>

#include <functional>

namespace pomelark {

/// Bindings onto the application's stored settings (the user's QSettings).
class StoredSetting {
public:
    /// Reads the text stored under `key` (or `fallback()` when nothing is
    /// stored; any stored text, known or not, as it is) and writes a text under
    /// `key` at once. Writes do not fail visibly.
    static Binding<QString> text(const QString &key, std::function<QString()> fallback);
};

} // namespace pomelark
