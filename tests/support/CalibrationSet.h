#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace pomelark::test {

/// Real photographs shipped by Debian packages (opencv-doc, libdlib19.1), one
/// per scene. Natural series (stereo pairs, chessboard and video sequences, the
/// same picture edited twice) are left out, so two different sources never
/// show one moment.
QStringList calibrationSources();

/// Face photographs shipped by Debian packages, upright as stored.
QStringList faceSources();

/// The ways a shot of one moment is varied: a reframe, a zoom, a slight tilt,
/// exposure up and down, lost focus, sensor noise and heavy recompression.
QStringList variantNames();

struct CalibrationPhoto {
    QString path;
    int source = 0;   ///< index into the sources used; equal sources are one moment
    QString variant;
};

/// Writes every chosen variant of every source as a JPEG under `folder`
/// (named "<source>_<variant>.jpg"), deterministically. `variants` empty means
/// all of them; `maxSources` < 0 means every source.
QList<CalibrationPhoto> makeCalibrationSet(const QString &folder, const QStringList &variants = {},
                                           int maxSources = -1);

/// Turns the photo at `source` clockwise by `degrees` (0, 90, 180, 270) and
/// writes it as a JPEG at `path` with EXIF orientation 1 (or none when
/// `writeOrientation` is false). Returns `path`.
QString makeTurnedJpeg(const QString &source, const QString &path, int degrees, bool writeOrientation = true);

} // namespace pomelark::test
