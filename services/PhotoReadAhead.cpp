#include "services/PhotoReadAhead.h"

#include <QtConcurrent/QtConcurrentRun>

#include <qcoro/qcorofuture.h>

namespace pomelark {

PhotoReadAhead::PhotoReadAhead(Reader reader) : m_reader(std::move(reader))
{
    m_pool.setMaxThreadCount(1);
    m_pool.setObjectName(QStringLiteral("PhotoReadAhead"));
}

PhotoReadAhead::~PhotoReadAhead()
{
    drop();
    m_pool.waitForDone();
}

ReadPhoto PhotoReadAhead::Outcome::photoOrReadAgain(const Reader &reader) const
{
    // A file that changed or went since (a card pulled, a copy rewritten), or
    // whose read failed, is read as it is now: the send gets what is there at
    // the photo's turn, and only that turn's read can fail it.
    if (!photo || !photo->stamp.isValid() || FileSnapshot::Stamp::of(path) != photo->stamp)
        return reader(path, rotation);
    return *photo;
}

void PhotoReadAhead::start(const QString &path, int rotation)
{
    // The photo whose turn comes now may still be waiting to be taken; anything
    // older is of no more use.
    while (m_pending.size() > 1)
        m_pending.takeFirst().future.cancel();
    QFuture<Outcome> future = QtConcurrent::run(&m_pool, [reader = m_reader, path, rotation] {
        Outcome outcome;
        outcome.path = path;
        outcome.rotation = rotation;
        try {
            outcome.photo = reader(path, rotation);
        } catch (...) {
            // Left to the photo's own turn, which reads it again.
        }
        return outcome;
    });
    m_pending.append({path, rotation, std::move(future)});
}

void PhotoReadAhead::drop()
{
    for (Pending &pending : m_pending)
        pending.future.cancel();
    m_pending.clear();
}

QCoro::Task<std::optional<PhotoReadAhead::Outcome>> PhotoReadAhead::take(const QString &path, int rotation)
{
    const auto match = std::find_if(m_pending.begin(), m_pending.end(), [&](const Pending &pending) {
        return pending.path == path && pending.rotation == rotation;
    });
    if (match == m_pending.end())
        co_return std::nullopt;
    // Read-aheads of photos before this one were passed over.
    const qsizetype index = match - m_pending.begin();
    for (qsizetype i = 0; i < index; ++i)
        m_pending.takeFirst().future.cancel();
    QFuture<Outcome> future = m_pending.takeFirst().future;
    co_return co_await future;
}

} // namespace pomelark
