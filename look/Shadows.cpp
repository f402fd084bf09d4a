#include "look/Shadows.h"

namespace pomelark::Shadows {

namespace {

// Built straight from the components of ink (42, 37, 32) and accent (181, 164, 232).
Shadow inkShadow(qreal opacity, qreal radius, qreal y)
{
    return {QColor::fromRgbF(42 / 255.0f, 37 / 255.0f, 32 / 255.0f, float(opacity)), radius, 0, y};
}

} // namespace

const Shadow &none()
{
    static const Shadow shadow{QColor::fromRgbF(0, 0, 0, 0), 0, 0, 0};
    return shadow;
}

const Shadow &small()
{
    static const Shadow shadow = inkShadow(0.05, 2, 1);
    return shadow;
}

const Shadow &medium()
{
    static const Shadow shadow = inkShadow(0.07, 10, 4);
    return shadow;
}

const Shadow &large()
{
    static const Shadow shadow = inkShadow(0.10, 24, 12);
    return shadow;
}

const Shadow &accentGlow()
{
    static const Shadow shadow{QColor::fromRgbF(181 / 255.0f, 164 / 255.0f, 232 / 255.0f, 0.35f), 12, 0, 4};
    return shadow;
}

} // namespace pomelark::Shadows
