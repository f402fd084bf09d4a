#include "services/PhotoReadAhead.h"

#include <QtConcurrent/QtConcurrentRun>

#include <qcoro/qcorofuture.h>

namespace pomelark {

PhotoReadAhead::PhotoReadAhead(Reader reader, MemoryBudget &budget) : m_reader(std::move(reader)), m_budget(budget)
{
    m_pool.setMaxThreadCount(1);
    m_pool.setObjectName(QStringLiteral("PhotoReadAhead"));
}

PhotoReadAhead::~PhotoReadAhead()
{
    drop();
    m_pool.waitForDone();
}

std::shared_ptr<PhotoReadAhead::Held> PhotoReadAhead::Outcome::current() const
{
    // A file that changed or went since (a card pulled, a copy rewritten) is
    // read as it is now: the send gets what is there at the photo's turn, and
    // only that turn's read can fail it.
    if (!held || !held->photo.stamp.isValid() || FileSnapshot::Stamp::of(path) != held->photo.stamp)
        return nullptr;
    return held;
}

void PhotoReadAhead::start(const QString &path, int rotation, bool highQuality)
{
    // The photo whose turn comes now may still be waiting to be taken; anything
    // older is of no more use.
    while (m_pending.size() > 1)
        m_pending.takeFirst().future.cancel();
    // Shared, so that a job that never runs still leaves the line.
    auto place = std::make_shared<MemoryBudget::Place>(m_budget.line());
    QFuture<Outcome> future = QtConcurrent::run(&m_pool, [reader = m_reader, &budget = m_budget, place,
                                                          stop = m_stop.get_token(), path, rotation, highQuality] {
        Outcome outcome;
        outcome.path = path;
        // A photo too large to convert is left to its turn, which says so.
        const std::optional<PhotoCost> cost = PhotoCost::ofFile(path, rotation);
        if (!cost || cost->peak(highQuality) > budget.total())
            return outcome;
        std::optional<MemoryBudget::Claim> claim = budget.claim(std::move(*place), cost->reading(), stop);
        if (!claim)
            return outcome;
        try {
            ReadPhoto photo = reader(path, rotation);
            claim->shrinkTo(cost->held());
            outcome.held = std::make_shared<Held>(Held{std::move(photo), *cost, std::move(*claim)});
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
    m_stop.request_stop();
    m_stop = std::stop_source();
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
