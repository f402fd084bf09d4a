#pragma once

#include <QString>

namespace pomelark {

/// A video's length for display: "m:ss" under an hour, else "h:mm:ss" (hours not
/// capped at 24). Seconds are rounded to the nearest whole, halves away from
/// zero. Negative or non-finite input shows as 0:00.
QString formatDuration(double seconds);

} // namespace pomelark
