#pragma once

#include "platform/FileSnapshot.h"
#include "platform/ImageSource.h"

#include <QFuture>
#include <QImage>
#include <QList>
#include <QString>
#include <QThreadPool>

#include <qcoro/qcorotask.h>

#include <functional>
#include <optional>

namespace pomelark {

/// A source photo read for its conversion: all the conversion takes from it,
/// from one read of the file.
struct ReadPhoto {
    ImageSource::Properties properties;
    /// Upright and turned when a rotation was asked for; null when the turn failed.
    QImage pixels;
    /// Its EXIF block (a TIFF structure), empty when it has none.
    QByteArray exif;
    /// The file as that read found it; its modification time dates a photo
    /// without a date of its own.
    FileSnapshot::Stamp stamp;
};

/// Reads the next photo of a send into memory while the current one encodes,
/// so that its turn starts with the encode.
///
/// Holds the photos announced and not yet taken: the next one, and for a moment
/// the one whose turn is just coming. Writes nothing. What it read is used only
/// while the file is still the one it read (same file, size, modification and
/// change time, as the read's own open found it); otherwise, and when the
/// read-ahead failed (a read that failed once, as on a card that was out for a
/// moment, may succeed now), the photo is read again at its turn, as it would
/// have been without a read-ahead.
class PhotoReadAhead {
public:
    /// Reads the photo at `path` for a turn of `rotation` (0…359) degrees;
    /// throws what the conversion reports for a source it cannot read. Any thread.
    using Reader = std::function<ReadPhoto(const QString &path, int rotation)>;

    explicit PhotoReadAhead(Reader reader);
    ~PhotoReadAhead();

    /// What reads the photos, ahead or at their turn.
    const Reader &reader() const { return m_reader; }

    PhotoReadAhead(const PhotoReadAhead &) = delete;
    PhotoReadAhead &operator=(const PhotoReadAhead &) = delete;

    /// What a read-ahead left: the photo, if it could be read.
    class Outcome {
    public:
        /// The photo read ahead when that read succeeded and the file is still as
        /// it was; else the file read now. Throws that read's failure. Blocks:
        /// call on a worker.
        ReadPhoto photoOrReadAgain(const Reader &reader) const;

    private:
        friend class PhotoReadAhead;

        QString path;
        int rotation = 0;
        /// Nothing when the read failed.
        std::optional<ReadPhoto> photo;
    };

    /// Starts reading the photo at `path` in the background, after any earlier
    /// read-ahead; of those only the latest is kept. Call on the main thread.
    void start(const QString &path, int rotation);

    /// Forgets the read-ahead: one not yet begun never runs, one running is
    /// thrown away when it ends.
    void drop();

    /// The read-ahead of `path` at `rotation`, once it has ended, and the end of
    /// those started before it; nothing when there is none of that photo.
    QCoro::Task<std::optional<Outcome>> take(const QString &path, int rotation);

private:
    struct Pending {
        QString path;
        int rotation = 0;
        QFuture<Outcome> future;
    };

    Reader m_reader;
    QThreadPool m_pool;
    QList<Pending> m_pending; ///< oldest first

};

} // namespace pomelark
