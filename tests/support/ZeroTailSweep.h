#pragma once

#include "support/Fixtures.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

namespace pomelark::test {

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
};

/// Decodes `jpeg` (a whole file ending in its end marker) completely, as a
/// photo on its way out is, with the last 1 to `most` bytes of its data lost
/// to zeros as a tail the card never wrote or a power loss erased leaves them
/// (zeroed before the end marker, zeroed with it, cut and followed by 16 zeros
/// and the marker), and padded with 1 to `most` zeros before its end marker,
/// as cameras and editors pad a file.
TailSweep sweepTails(const QByteArray &jpeg, int most = 64);

/// The pixels a complete decode of `content` gives, or nothing when it
/// refuses them (too large, damaged or not a picture).
std::optional<QImage> decodedWhole(const QByteArray &content);

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
