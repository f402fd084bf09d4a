#include "support/ZeroTailSweep.h"

#include "platform/ImageSource.h"

#include <QImage>

#include <exception>
#include <optional>

namespace pomelark::test {

namespace {

const QByteArray endMarker("\xff\xd9", 2);

/// `jpeg` with the last `cut` bytes of its data replaced by `zeros` zeros,
/// then its end marker unless `endKept` is false.
QByteArray withZeroTail(const QByteArray &jpeg, int cut, int zeros, bool endKept = true)
{
    return jpeg.chopped(endMarker.size() + cut) + QByteArray(zeros, '\0') + (endKept ? endMarker : QByteArray());
}

} // namespace

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

TailSweep sweepTails(const QByteArray &jpeg, int most)
{
    TailSweep sweep;
    const std::optional<QImage> whole = decodedWhole(jpeg);
    sweep.wholeRefused = !whole;
    if (!whole || !jpeg.endsWith(endMarker))
        return sweep;
    for (int bytes = 1; bytes <= most; ++bytes) {
        for (const QByteArray &damaged : {withZeroTail(jpeg, bytes, bytes), withZeroTail(jpeg, bytes, bytes + 2, false),
                                          withZeroTail(jpeg, bytes, 16)}) {
            const std::optional<QImage> read = decodedWhole(damaged);
            ++sweep.damaged;
            sweep.damagedRefused += !read;
            sweep.damagedAcceptedWrong += read && *read != *whole;
        }
        const std::optional<QImage> padded = decodedWhole(withZeroTail(jpeg, 0, bytes));
        ++sweep.padded;
        sweep.paddedNotWhole += !padded || *padded != *whole;
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
        {QStringLiteral("arithmetic, a scan for each component"),
         {.size = size, .arithmetic = true, .scanPerComponent = true}},
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
