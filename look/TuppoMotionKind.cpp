#include "look/TuppoMotionKind.h"

namespace pomelark {

namespace {

constexpr std::array<const char16_t *, 12> names{u"hop",     u"wiggle", u"peek",   u"hum", u"blow", u"stamp",
                                                 u"stretch", u"snip",   u"search", u"nod", u"doze", u"aww"};

} // namespace

const std::array<TuppoMotionKind, 12> &allMotionKinds()
{
    static const std::array<TuppoMotionKind, 12> kinds = [] {
        std::array<TuppoMotionKind, 12> all{};
        for (size_t i = 0; i < all.size(); ++i)
            all[i] = TuppoMotionKind(i);
        return all;
    }();
    return kinds;
}

QString rawValue(TuppoMotionKind kind)
{
    return QString::fromUtf16(names[size_t(kind)]);
}

std::optional<TuppoMotionKind> motionKindFromRawValue(QStringView name)
{
    for (size_t i = 0; i < names.size(); ++i) {
        if (name == QStringView(names[i]))
            return TuppoMotionKind(i);
    }
    return std::nullopt;
}

} // namespace pomelark
