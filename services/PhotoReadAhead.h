#pragma once

#include "platform/FileSnapshot.h"
#include "platform/ImageSource.h"
#include "platform/StoppableWork.h"
#include "services/MemoryBudget.h"
#include "services/PhotoCost.h"

#include <QFuture>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>

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
/// the one whose turn is just coming. Writes nothing. A read-ahead claims from
/// the send's memory budget what its read will hold, as work that may be given
/// up: after the conversion whose turn comes before it has claimed its own, and
/// never while a conversion waits for memory. It gives way to conversions: one
/// still waiting for memory when its photo's turn comes gives up, and one held
/// lets go of its photo as soon as a conversion waits for the room it takes.
/// What it read is used only while the file is still the one it read (same
/// file, size, modification and change time, as the read's own open found it);
/// otherwise, when the read-ahead failed or gave way (a read that failed once,
/// as on a card that was out for a moment, may succeed now), and when the photo
/// is too large to convert, the photo is read at its turn, as it would have
/// been without a read-ahead.
class PhotoReadAhead {
public:
    /// Reads the photo at `path` for a turn of `rotation` (0…359) degrees, only
    /// while the file is the version `costed` (an invalid stamp: none is);
    /// throws what the conversion reports for a source it cannot read, and
    /// WorkStopped once `stop` is requested. Any thread.
    using Reader = std::function<ReadPhoto(const QString &path, int rotation, const FileSnapshot::Stamp &costed,
                                           std::stop_token stop)>;

    /// Claims from `budget`; its reads stop once `stop` is requested.
    PhotoReadAhead(Reader reader, std::shared_ptr<MemoryBudget> budget, std::stop_token stop);
    /// Stops the read-aheads and goes without waiting for a read that does
    /// not end (a card that stopped answering): nothing it read is used.
    ~PhotoReadAhead();

    /// What reads the photos, ahead or at their turn.
    const Reader &reader() const { return m_reader; }

    PhotoReadAhead(const PhotoReadAhead &) = delete;
    PhotoReadAhead &operator=(const PhotoReadAhead &) = delete;

    /// A photo read ahead, what it costs, and the claim on the memory it holds.
    struct Held {
        ReadPhoto photo;
        PhotoCost cost;
        MemoryBudget::Claim claim;
    };

    /// Where one read-ahead leaves its photo for the conversion. Any thread.
    class Slot {
    public:
        /// Takes out the photo read ahead, its claim no longer yielding, when it
        /// was read and not let go, and its file is still as that read found
        /// it; nothing otherwise.
        std::unique_ptr<Held> take();

    private:
        friend class PhotoReadAhead;
        /// Lets go of the photo, or of the read under way when it ends.
        void letGo();
        /// Ends its wait for memory, and its read.
        void giveUp();

        QString m_path;
        std::mutex m_mutex;
        std::unique_ptr<Held> m_held;
        bool m_letGo = false;
        std::stop_source m_giveUp; ///< ends its wait for memory
        std::stop_source m_stopRead;
    };

    /// Starts reading the photo at `path` in the background, after any earlier
    /// read-ahead; of those only the latest is kept. Its claim comes after those
    /// of the places taken in the budget before this call. Call on the main thread.
    /// A photo too large to convert at `highQuality` is not read.
    void start(const QString &path, int rotation, bool highQuality);

    /// Forgets the read-ahead: one not yet begun never runs, one waiting for
    /// memory stops waiting, one reading stops.
    void drop();

    /// The read-ahead of `path` at `rotation`, once it has ended, and the end of
    /// those started before it; nothing when there is none of that photo. One
    /// still waiting for memory gives up, so that its conversion never waits
    /// for it.
    QCoro::Task<std::shared_ptr<Slot>> take(const QString &path, int rotation);

private:
    struct Pending {
        QString path;
        int rotation = 0;
        std::shared_ptr<Slot> slot;
        QFuture<void> future;
    };

    /// Forgets a read-ahead of no more use.
    static void passOver(Pending pending);

    Reader m_reader;
    std::shared_ptr<MemoryBudget> m_budget;
    std::stop_token m_serviceStop;
    /// Stops the read-aheads started since the last drop().
    std::stop_source m_stop;
    std::shared_ptr<QThreadPool> m_pool = std::make_shared<QThreadPool>();
    QList<Pending> m_pending; ///< oldest first
    /// Gone with the read-ahead, it resumes no one still waiting in take().
    QObject m_context;
};

} // namespace pomelark
