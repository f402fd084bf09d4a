#pragma once

#include "support/Fixtures.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

namespace pomelark::test {

/// `jpeg` with its frame header claiming a picture of `size`, over the data of
/// its own small one: what a damaged or a made header does.
QByteArray claimingSize(QByteArray jpeg, QSize size);

/// A small real JPEG of `recipe` whose header claims a picture of `claimed`.
struct HeaderClaim {
    const char *name;
    JpegRecipe recipe;
    QSize claimed;
};

/// Claims of pictures of gigabytes, in files of a kilobyte: progressive grey,
/// the same arithmetic-coded, progressive 4:4:4 colour and CMYK, all beyond
/// what a decode may hold with its coefficients; and progressive grey within
/// that, but in a file far too small for its blocks.
QList<HeaderClaim> hugeHeaderClaims();

/// Writes a colour JPEG of `size` at `path` a few rows at a time, for pictures
/// too large to hold whole here: a soft gradient under a fine checker, which
/// the decoded pictures of two paths can be told apart by.
QString makeLargeJpeg(const QString &path, QSize size, bool progressive);

} // namespace pomelark::test
