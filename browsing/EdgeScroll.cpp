#include "browsing/EdgeScroll.h"

#include <algorithm>

namespace pomelark {

double EdgeScroll::speed(double t, double height)
{
    if (t > height - band)
        return std::min((t - (height - band)) / band * maxSpeed, maxSpeed);
    if (t < band)
        return -std::min((band - t) / band * maxSpeed, maxSpeed);
    return 0;
}

double EdgeScroll::nextOffset(double offset, double speed, double documentHeight, double viewportHeight)
{
    const double largest = std::max(documentHeight - viewportHeight, 0.0);
    return std::min(largest, std::max(offset + speed, 0.0));
}

} // namespace pomelark
