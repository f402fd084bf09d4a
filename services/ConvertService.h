#pragma once

#include "platform/SerialExecutor.h"
#include "platform/StoppableWork.h"
#include "services/MediaItem.h"
#include "services/MemoryBudget.h"
#include "services/PhotoReadAhead.h"
#include "services/VideoConverter.h"

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QString>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <exception>
#include <functional>
#include <memory>
#include <optional>

namespace pomelark {

/// Why a photo could not be converted.
class ConvertError : public std::exception {
public:
    /// sourceTooLarge: the source file is larger than any photo
    /// (ImageSource::largestFileBytes), so it was not read. pictureTooLarge:
    /// converting its picture would take more memory than the send's budget,
    /// so its pixels were not decoded. sideTooLong: its picture has a side longer
    /// than HeifWriter::largestSide, which HEIF readers refuse; it was not read.
    enum class Kind {
        sourceUnreadable,
        destinationFailed,
        encodingFailed,
        sourceTooLarge,
        pictureTooLarge,
        sideTooLong
    };

    explicit ConvertError(Kind kind, QString systemReason = {}) : kind(kind), systemReason(std::move(systemReason)) {}
    const char *what() const noexcept override { return "photo conversion failed"; }

    /// The user text for `kind`, in the display language, followed by ": " and
    /// the system's reason when there is one ("Conversion failed: No space left
    /// on device").
    QString message() const;

    friend bool operator==(const ConvertError &a, const ConvertError &b)
    {
        return a.kind == b.kind && a.systemReason == b.systemReason;
    }

    Kind kind;
    /// What the system said when a file operation failed; empty otherwise.
    QString systemReason;
};

/// The picture or the turned copy could not be made. No user text: callers
/// turn it into their own failure.
class ImageRotationError : public std::exception {
public:
    const char *what() const noexcept override { return "image rotation failed"; }
};

/// Converts what the user sends: photos to HEIC with their date in the EXIF
/// block and the user's rotation in the pixels, videos to HEVC through a
/// VideoConverter.
///
/// Conversions run one at a time on the service's own executor; a video
/// conversion waits for its converter there without holding a thread. The next
/// photo of a send may be read into memory beforehand (readAhead()); nothing of
/// that shows until its own conversion.
///
/// A photo's conversion and the read-ahead together never hold more than the
/// send's memory budget (MemoryBudget::configuredBytes()): each claims, before
/// any of its picture is decoded, what it will hold at its peak (PhotoCost),
/// and a photo that alone would take more is refused unread.
///
/// Once the service stops (stop(), the application's quit, its own end),
/// nothing more is read or converted. What runs ends at its next step, except
/// an encode, which x265 cannot interrupt: that is abandoned, its result
/// thrown away and its file never written, and the service goes without
/// waiting for it. So a program that ends during a send ends at once.
class ConvertService {
public:
    /// libheif qualities for the two settings. "quality" is visually lossless
    /// next to the camera's JPEG (SSIM 0.994 against it on 12-MP photos);
    /// "size" gives files about 0.6 times the JPEG's that still look good
    /// (SSIM 0.984). Measured by bench/heic_bench.
    static constexpr int highQualityLevel = 75;
    static constexpr int sizeQualityLevel = 55;

    /// `reader` reads a source photo for its encode, for the conversions and
    /// the read-ahead alike.
    explicit ConvertService(VideoConverter &videos = defaultVideoConverter(),
                            PhotoReadAhead::Reader reader = &ConvertService::readSourcePhoto);
    /// Stops the service, abandoning an encode that still runs.
    virtual ~ConvertService();

    /// The one instance the app uses, made on first use.
    static ConvertService &shared();

    /// From now on nothing is read or converted: conversions asked for, and
    /// those waiting or running, throw WorkStopped. Returns once nothing runs
    /// but an encode, which goes on, abandoned. Call on the main thread.
    void stop();

    /// Re-encodes the photo at `source` as HEIC at `destination`. The rotation is
    /// clockwise; any multiple of 90, negative ones included. Without a rotation
    /// the stored pixels keep their orientation (as HEIF transform properties);
    /// with one, the photo is stood upright, turned and stored with orientation 1.
    /// Throws ConvertError: sideTooLong, unread, for a picture with a side
    /// longer than HeifWriter::largestSide; pictureTooLarge, before its pixels are decoded,
    /// when converting the photo would take more than the memory budget;
    /// sourceUnreadable when the source is no readable image,
    /// destinationFailed when the file cannot be made, encodingFailed when
    /// decoding, turning or encoding fails (a partly written file may remain).
    virtual QCoro::Task<void> convertPhoto(QUrl source, QUrl destination, bool highQuality,
                                           std::optional<QDateTime> captureDate, int rotationDegrees);

    /// Converts as convertPhoto() does, dated by the photo's own capture date as
    /// the read its pixels come from gives it (captureDate()'s rule), and returns
    /// that date: no second look at the file can disagree with what was sent.
    /// Throws as convertPhoto() does.
    virtual QCoro::Task<std::optional<QDateTime>> convertPhotoWithOwnDate(QUrl source, QUrl destination,
                                                                         bool highQuality, int rotationDegrees);

    /// Starts reading the photo at `source` into memory for a conversion with
    /// `rotationDegrees` at `highQuality` that is to come, once the read-ahead
    /// of the photo whose turn comes first is done and the conversion asked
    /// for before this call has claimed its memory; waits while the read would
    /// not fit beside it. It gives way to any conversion that waits for memory.
    /// When it fails or gives way, that conversion reads the photo again and
    /// fails only if that read fails too. Call on the main thread; best after
    /// asking for the conversion of the photo before, whose memory it then
    /// never takes, but any order of calls ends.
    virtual void readAhead(QUrl source, int rotationDegrees, bool highQuality);
    /// Forgets the read-ahead, used or not.
    virtual void dropReadAhead();

    /// The photo at `path` as it is encoded, all from one read of the file: its
    /// properties, EXIF block and whole pixels, stood upright and turned by
    /// `rotation` (0…359) when that is not 0. With `costed`, only that version
    /// of the file is read (see FileSnapshot::read). Throws
    /// ConvertError(sourceTooLarge), having read nothing, when the file is
    /// larger than any photo; ConvertError(sourceUnreadable), having read
    /// nothing, when it is not the version costed; ConvertError(pictureTooLarge)
    /// when its JPEG's decode would take more than the memory budget;
    /// ConvertError(sourceUnreadable) when it cannot be read, is no readable
    /// image, or its picture data ends early or is damaged; WorkStopped once
    /// `stop` is requested. Any thread.
    static ReadPhoto readSourcePhoto(const QString &path, int rotation,
                                     const std::optional<FileSnapshot::Stamp> &costed = {}, std::stop_token stop = {});

    /// Converts the video at `source` into an HEVC QuickTime file at
    /// `destination`, 2 Mbit/s for high quality, else 800 kbit/s, with `creationDate`
    /// as its creation time. The converter's errors pass through unchanged.
    virtual QCoro::Task<void> convertVideo(QUrl source, QUrl destination, bool highQuality,
                                           std::optional<QDateTime> creationDate);

    /// The photo's EXIF DateTimeOriginal (local time) when it has a valid one,
    /// else (and always for videos) the file's modification time; nothing when
    /// even that cannot be read. Any thread.
    static std::optional<QDateTime> captureDate(const QUrl &url, MediaItem::Kind kind);

    /// `image` turned clockwise by `degrees` (0, 90, 180 or 270). Takes every
    /// pixel format. Throws ImageRotationError when no picture results.
    static QImage rotateImage(const QImage &image, int degrees);

    /// The photo at `url`, upright by its EXIF orientation, its longer side at
    /// most `maxPixelSize`, then turned by `degrees`. A null image when the file
    /// cannot be decoded; when the turn fails, the unturned picture.
    static QImage loadRotatedImage(const QUrl &url, int maxPixelSize, int degrees);

    /// `degrees` brought into 0…359: -90 gives 270, 450 gives 90.
    static int normalisedRotation(int degrees);

    /// The EXIF date text, "yyyy:MM:dd HH:mm:ss" in local time.
    static QString exifDateText(const QDateTime &date);
    /// Parses EXIF date text as local time; nothing when it does not match.
    static std::optional<QDateTime> parseExifDate(const QString &text);
    /// ISO 8601 in UTC with a trailing "Z", as in 2024-05-01T10:20:30Z.
    static QString isoText(const QDateTime &date);

private:
    /// Converts the photo, dated by what `dateOf` gives for it as read; returns that date.
    QCoro::Task<std::optional<QDateTime>> convertPhotoDated(
        QUrl source, QUrl destination, bool highQuality, int rotationDegrees,
        std::function<std::optional<QDateTime>(const ReadPhoto &)> dateOf);

    /// What a conversion uses besides its own data: shared with it, so that an
    /// encode abandoned at the service's end still has it.
    struct Core {
        explicit Core(qint64 budgetBytes) : budget(budgetBytes) {}
        /// What the conversions and the read-ahead may hold at once.
        MemoryBudget budget;
        StoppableWork work;
    };

    VideoConverter &m_videos;
    std::shared_ptr<Core> m_core;
    PhotoReadAhead m_readAhead;
    SerialExecutor m_executor{QStringLiteral("ConvertService")};
    QObject m_quitContext; ///< ends the quit's connection with the service
};

} // namespace pomelark
