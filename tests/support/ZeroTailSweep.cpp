#include "support/ZeroTailSweep.h"

#include "platform/ImageSource.h"

#include <QImage>

#include <exception>
#include <optional>

namespace pomelark::test {

namespace {

const QByteArray endMarker("\xff\xd9", 2);

/// The pixels a complete decode gives, or nothing when it refuses them.
std::optional<QImage> decodedWhole(const QByteArray &content)
{
    try {
        QImage image = ImageSource::fromContent(content).decodeComplete(false);
        if (!image.isNull())
            return image;
    } catch (const std::exception &) {
    }
    return std::nullopt;
}

} // namespace

QByteArray damagedTail(const QByteArray &jpeg, TailDamage damage, int bytes)
{
    const QByteArray data = jpeg.chopped(endMarker.size());
    switch (damage) {
    case TailDamage::zeroedBeforeEnd:
        return data.chopped(bytes) + QByteArray(bytes, '\0') + endMarker;
    case TailDamage::zeroedWithEnd:
        return data.chopped(bytes) + QByteArray(bytes + endMarker.size(), '\0');
    case TailDamage::cutThenPadded:
        break;
    }
    return data.chopped(bytes) + QByteArray(16, '\0') + endMarker;
}

QByteArray paddedBeforeEnd(const QByteArray &jpeg, int zeros)
{
    return jpeg.chopped(endMarker.size()) + QByteArray(zeros, '\0') + endMarker;
}

TailSweep &TailSweep::operator+=(const TailSweep &other)
{
    wholeRefused += other.wholeRefused;
    damaged += other.damaged;
    damagedRefused += other.damagedRefused;
    damagedAcceptedWrong += other.damagedAcceptedWrong;
    padded += other.padded;
    paddedNotWhole += other.paddedNotWhole;
    return *this;
}

TailSweep sweepTails(const QByteArray &jpeg, int most)
{
    TailSweep sweep;
    const std::optional<QImage> whole = decodedWhole(jpeg);
    if (!whole) {
        sweep.wholeRefused = 1;
        return sweep;
    }
    if (!jpeg.endsWith(endMarker))
        return sweep;
    for (const TailDamage damage : {TailDamage::zeroedBeforeEnd, TailDamage::zeroedWithEnd, TailDamage::cutThenPadded}) {
        for (int bytes = 1; bytes <= most; ++bytes) {
            const std::optional<QImage> read = decodedWhole(damagedTail(jpeg, damage, bytes));
            ++sweep.damaged;
            if (!read)
                ++sweep.damagedRefused;
            else if (*read != *whole)
                ++sweep.damagedAcceptedWrong;
        }
    }
    for (int zeros = 1; zeros <= most; ++zeros) {
        ++sweep.padded;
        const std::optional<QImage> read = decodedWhole(paddedBeforeEnd(jpeg, zeros));
        if (!read || *read != *whole)
            ++sweep.paddedNotWhole;
    }
    return sweep;
}

QList<SweepPhoto> sweepPhotos()
{
    const QSize size(320, 240);
    const QList<SweepPhoto> kinds{
        {QStringLiteral("baseline"), {.size = size}},
        {QStringLiteral("baseline, optimised tables"), {.size = size, .optimized = true}},
        {QStringLiteral("progressive"), {.size = size, .progressive = true}},
        {QStringLiteral("restart markers"), {.size = size, .optimized = true, .restartInterval = 20}},
        {QStringLiteral("a scan for each component"), {.size = size, .scanPerComponent = true}},
        {QStringLiteral("arithmetic"), {.size = size, .arithmetic = true}},
        {QStringLiteral("arithmetic, a scan for each component"), {.size = size, .arithmetic = true, .scanPerComponent = true}},
        {QStringLiteral("grey"), {.size = size, .colour = JpegColour::grey}},
    };
    QList<SweepPhoto> photos;
    for (const SweepPhoto &kind : kinds) {
        for (const int grain : {24, 0}) {
            SweepPhoto photo = kind;
            photo.name += grain ? QStringLiteral(", grain") : QStringLiteral(", smooth");
            photo.recipe.grain = grain;
            photos << photo;
        }
    }
    return photos;
}

bool dataEndsInZero(const QByteArray &jpeg)
{
    const QByteArray data = jpeg.chopped(endMarker.size());
    return data.endsWith('\0') && !data.endsWith(QByteArray("\xff\0", 2));
}

} // namespace pomelark::test
