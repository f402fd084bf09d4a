#pragma once

#include "support/Fixtures.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace pomelark::test {

/// How the last bytes of a JPEG's picture data are lost to zeros: a tail the
/// card never wrote, sectors erased by a power loss, a copy cut and padded.
enum class TailDamage {
    zeroedBeforeEnd, ///< its data's last bytes zeroed, the end marker kept
    zeroedWithEnd,   ///< its data's last bytes and the end marker zeroed
    cutThenPadded,   ///< its data cut short, then 16 zeros and the end marker
};

/// `jpeg` (a whole file ending in its end marker) with its data's last `bytes`
/// bytes lost as `damage` says.
QByteArray damagedTail(const QByteArray &jpeg, TailDamage damage, int bytes);

/// `jpeg` with `zeros` zero bytes between its data and its end marker, as
/// cameras and editors pad a file.
QByteArray paddedBeforeEnd(const QByteArray &jpeg, int zeros);

/// What a complete decode made of every damaged and padded variant of one JPEG.
struct TailSweep {
    /// The whole JPEG itself refused: it has no variants.
    int wholeRefused = 0;
    int damaged = 0;
    int damagedRefused = 0;
    /// Accepted as whole, with other pixels than the whole file's.
    int damagedAcceptedWrong = 0;
    int padded = 0;
    /// Refused, or accepted with other pixels than the whole file's.
    int paddedNotWhole = 0;

    TailSweep &operator+=(const TailSweep &other);
};

/// Decodes every variant of `jpeg` completely, as a photo on its way out is:
/// each damage with 1 to `most` bytes lost, and padding of 1 to `most` zeros.
TailSweep sweepTails(const QByteArray &jpeg, int most = 64);

/// A JPEG of one kind for the sweep.
struct SweepPhoto {
    QString name;
    JpegRecipe recipe;
};

/// One photo of every kind of JPEG writer the sweep covers (baseline with
/// standard and with optimised tables, progressive, restart markers, a scan
/// for each component, arithmetic coding with one scan and with a scan for
/// each component, grey), each with grain and smooth.
QList<SweepPhoto> sweepPhotos();

/// Whether `jpeg`'s picture data ends in a zero byte of its own (not the zero
/// that follows an FF), which zero padding after it makes ambiguous.
bool dataEndsInZero(const QByteArray &jpeg);

} // namespace pomelark::test
