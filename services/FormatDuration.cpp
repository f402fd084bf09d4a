#include "services/FormatDuration.h"

#include <cmath>

namespace pomelark {

QString formatDuration(double seconds)
{
    const long long n = std::isfinite(seconds) && seconds > 0 ? std::llround(seconds) : 0;
    const long long minutes = (n % 3600) / 60;
    if (n < 3600)
        return QString::asprintf("%lld:%02lld", minutes, n % 60);
    return QString::asprintf("%lld:%02lld:%02lld", n / 3600, minutes, n % 60);
}

} // namespace pomelark
