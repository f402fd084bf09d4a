#pragma once

#include <QString>

#include <array>
#include <optional>

namespace pomelark {

/// The mascot's twelve motions, in their listing order.
enum class TuppoMotionKind { Hop, Wiggle, Peek, Hum, Blow, Stamp, Stretch, Snip, Search, Nod, Doze, Aww };

/// Every kind, `Hop` first and `Aww` last.
const std::array<TuppoMotionKind, 12> &allMotionKinds();

/// The kind's name: "hop", "wiggle", … "aww".
QString rawValue(TuppoMotionKind kind);

/// The kind named exactly `name` (case-sensitive); nothing for any other text.
std::optional<TuppoMotionKind> motionKindFromRawValue(QStringView name);

} // namespace pomelark
