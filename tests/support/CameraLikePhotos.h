#pragma once

#include <QImage>
#include <QList>
#include <QSize>

class QRandomGenerator;

namespace pomelark::test {

/// The size of a 12-MP camera photo.
inline constexpr QSize cameraPhotoSize(4032, 3024);

/// Real colour photographs shipped by Debian (opencv-doc), at least 400 × 300;
/// the fixture picture when none is installed.
QList<QImage> samplePhotographs();

/// A picture with a camera photo's detail: a mosaic of `sources` at random
/// scales with sensor noise of up to ±`grain` levels, so it compresses and
/// decodes like a real photograph rather than a flat fixture. The same seed
/// gives the same picture.
QImage cameraLikePicture(const QList<QImage> &sources, quint32 seed, QSize size = cameraPhotoSize, int grain = 3);

/// Adds sensor noise of up to ±`grain` levels to each channel of the RGB32
/// `picture`, drawn from `random`.
void addGrain(QImage &picture, QRandomGenerator &random, int grain);

} // namespace pomelark::test
