#pragma once

#include <QColor>
#include <QColorSpace>
#include <QImage>
#include <QMap>
#include <QSize>
#include <QString>

#include <atomic>
#include <functional>
#include <thread>

namespace pomelark::test {

enum class JpegColour { rgb, grey, cmyk };

struct JpegRecipe {
    QSize size{64, 48};
    int orientation = 0;          ///< EXIF orientation to write; 0 writes none
    QString dateTimeOriginal;     ///< "YYYY:MM:DD HH:MM:SS"; empty writes none
    JpegColour colour = JpegColour::rgb;
    int quality = 90;
    QColorSpace colourSpace;      ///< embedded as an ICC profile when valid (colour JPEGs only)
    bool progressive = false;
    bool optimized = false;       ///< Huffman tables made for the picture, as many cameras write (colour JPEGs only)
    int restartInterval = 0;      ///< MCUs between restart markers (colour JPEGs only); 0 writes none
    bool arithmetic = false;      ///< arithmetic coding instead of Huffman tables
    bool scanPerComponent = false; ///< sequential, in one scan for each component (colour JPEGs only)
    bool fullChroma = false;      ///< colour at full resolution (4:4:4) instead of halved both ways
    /// Noise of up to ±grain levels, the same each time, so that blocks keep
    /// their finest detail (and last coefficients) at high quality.
    int grain = 0;
    /// Further EXIF tags by Exiv2 key, their values as Exiv2 reads them from text
    /// ("Exif.Photo.ExposureTime" = "1/250").
    QMap<QString, QString> exif;
};

/// The picture every fixture JPEG shows: a soft gradient with a red block in the
/// top-left corner and a blue block in the bottom-right, so turns and flips show.
QImage fixturePicture(QSize size);

/// Writes a JPEG of `recipe`'s size and coding (not its metadata) at `path`
/// through libjpeg, a row at a time, each row's pixels from `row`: for pictures
/// too large to hold whole.
void writeJpegByRows(const QString &path, const JpegRecipe &recipe, const std::function<void(int y, QRgb *pixels)> &row);

/// Writes a JPEG at `path` (parents made) and returns `path`.
QString makeJpeg(const QString &path, const JpegRecipe &recipe = {});

enum class VideoFormat { movH264, mp4Hevc, aviMjpeg, aviMpeg4, movMjpeg, mp4H264 };

struct VideoRecipe {
    VideoFormat format = VideoFormat::movH264;
    bool audio = true;
    double seconds = 1.0;
    QSize size{160, 120};
    /// Every byte of the picture's packets scrambled: the file opens and its
    /// sound decodes, but not one frame of its picture does.
    bool pictureDamaged = false;
    /// QuickTime only: the index ahead of the data, as cameras write it, so the
    /// file still opens when its end is lost.
    bool indexFirst = false;
    /// The encoder's pixel format ("yuvj422p", "yuv420p10le"); empty takes the
    /// format's usual one.
    QString pixelFormat;
    /// A still of colour bars, with the blacker-than-black and whiter-than-white
    /// steps that show a wrong range, instead of the moving pattern.
    bool colourBars = false;
    /// false leaves the picture out: sound alone in a video's container.
    bool picture = true;
    /// QuickTime and MP4 only: the turn in the track's display matrix, in
    /// degrees, as ffmpeg's "rotate" tag writes it (phones store portrait
    /// video so); 0 writes none.
    int rotation = 0;
    /// The stored pixels' shape as ffmpeg's setsar takes it ("8/9"); empty
    /// leaves them square.
    QString pixelAspect;
};

/// The ffmpeg program the tests run ($POMELARK_FFMPEG or "ffmpeg" on PATH).
QString ffmpegProgram();

/// Writes a short test-pattern video at `path` through the ffmpeg program. Each
/// distinct recipe is encoded once per test process and then copied.
QString makeVideo(const QString &path, const VideoRecipe &recipe = {});

/// Cuts the JPEG at `path` in the middle of its compressed picture data, as a
/// card pulled during a copy or a read leaves it.
void cutInScanData(const QString &path);
/// Overwrites a stretch in the middle of the JPEG's compressed picture data
/// with other bytes (never a marker), leaving its length as it was.
void damageScanData(const QString &path);

/// Cuts the video at `path` where its first packet at or past `share` of its
/// length begins, as a recording that stopped between two frames leaves it:
/// what is left reads to its end with no damaged packet.
void cutAtPacketEdge(const QString &path, double share);
/// Cuts the video at `path` halfway through its first packet at or past
/// `share` of its length, as a copy broken off mid-transfer leaves it.
void cutInsidePacket(const QString &path, double share);

/// Cuts the file at `path` to its first `bytes` bytes.
void truncateFile(const QString &path, qint64 bytes);
/// Cuts the file at `path` to the given share of its length.
void truncateFileToShare(const QString &path, double share);

/// The whole content of the file at `path`; empty when it cannot be read.
QByteArray contentOf(const QString &path);

QString makeTextFile(const QString &path, const QByteArray &content = "This is not a picture.\n");
QString makeEmptyFile(const QString &path);
/// Makes a symbolic link at `path` to a target that does not exist.
QString makeDanglingLink(const QString &path);
/// Makes a symbolic link at `path` pointing at `target`.
QString makeLink(const QString &path, const QString &target);
/// Makes a named pipe at `path`.
QString makeFifo(const QString &path);
/// A non-empty regular file whose every read the kernel answers with EIO, as
/// a failing card answers: a device's unused power setting in sysfs. Throws,
/// naming what it looked for, on a machine that has none.
QString fileFailingEveryRead();

/// Lets go of whoever waits to open the named pipe at `path` for reading: every
/// five seconds while it lives, opens the write end when a reader is waiting and
/// closes it at once, which ends that open and, with nothing written, the reads
/// after it. released() counts those readers, so a test that would hang in such
/// an open fails instead.
class PipeReleaser {
public:
    explicit PipeReleaser(const QString &path);
    int released() const { return m_released; }

private:
    std::atomic<int> m_released = 0;
    std::jthread m_watch; // last: stopped and joined before the count goes
};

} // namespace pomelark::test
