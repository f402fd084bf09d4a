#pragma once

#include "support/Fixtures.h"

#include <QList>

namespace pomelark::test {

/// `jpeg` with its frame header claiming a picture of `size` over its own
/// small picture's data, as a damaged or a made header does.
QByteArray claimingSize(QByteArray jpeg, QSize size);

struct HeaderClaim {
    const char *name;
    JpegRecipe recipe; ///< the small real picture
    QSize claimed;
};

/// Headers of files of a kilobyte claiming pictures of gigabytes: beyond what
/// a decode may hold with its coefficients, but for the last, whose file is
/// far too small for its blocks.
QList<HeaderClaim> hugeHeaderClaims();

/// Writes a colour JPEG of `size` at `path` a few rows at a time: a soft
/// gradient under a fine checker.
QString makeLargeJpeg(const QString &path, QSize size, bool progressive);

/// `jpeg` with `count` APP2 segments of `bytes` bytes each (at most 65533)
/// after its start marker, each marked as a chunk of an ICC profile of 255
/// chunks and numbered 1 to 255 over and over: metadata that readers copy
/// whole, however much of it there is.
QByteArray withProfileChunks(const QByteArray &jpeg, int count, int bytes);

/// `jpeg` with an XMP packet of about `bytes` bytes after its start marker,
/// split into APP1 segments of Extended XMP as writers split packets too large
/// for one segment: each names the packet's digest, whole length and the
/// chunk's offset.
QByteArray withExtendedXmp(const QByteArray &jpeg, qint64 bytes);

} // namespace pomelark::test
