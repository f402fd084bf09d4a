#include "services/PhotoReadAhead.h"

#include "platform/AbandonedPools.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include <coroutine>

namespace pomelark {

namespace {

/// Waits for `future` to finish, and resumes the awaiter on the thread of
/// `context`, unless `context` is gone by then.
class FinishedAwaiter {
public:
    FinishedAwaiter(QFuture<void> future, QObject &context) : m_future(std::move(future)), m_context(context) {}
    bool await_ready() const { return m_future.isFinished(); }
    void await_suspend(std::coroutine_handle<> awaiting)
    {
        auto *watcher = new QFutureWatcher<void>(&m_context);
        QObject::connect(watcher, &QFutureWatcherBase::finished, watcher, [watcher, awaiting] {
            watcher->deleteLater();
            awaiting.resume();
        });
        watcher->setFuture(m_future);
    }
    void await_resume() const {}

private:
    QFuture<void> m_future;
    QObject &m_context;
};

} // namespace

PhotoReadAhead::PhotoReadAhead(Reader reader, std::shared_ptr<MemoryBudget> budget, std::stop_token stop)
    : m_reader(std::move(reader)), m_budget(std::move(budget)), m_serviceStop(std::move(stop))
{
    m_pool->setMaxThreadCount(1);
    m_pool->setObjectName(QStringLiteral("PhotoReadAhead"));
}

PhotoReadAhead::~PhotoReadAhead()
{
    drop();
    // What runs shares all it uses; it ends at its next step, or with its read.
    if (!m_pool->waitForDone(0))
        AbandonedPools::keep(m_pool);
}

std::unique_ptr<PhotoReadAhead::Held> PhotoReadAhead::Slot::take()
{
    std::unique_ptr<Held> held;
    {
        const std::lock_guard lock(m_mutex);
        if (!m_letGo)
            held.swap(m_held);
    }
    // A file that changed or went since (a card pulled, a copy rewritten) is
    // read as it is now: the send gets what is there at the photo's turn, and
    // only that turn's read can fail it.
    if (!held || !held->photo.stamp.isValid() || FileSnapshot::Stamp::of(m_path) != held->photo.stamp)
        return nullptr;
    held->claim.keep();
    return held;
}

void PhotoReadAhead::Slot::letGo()
{
    std::unique_ptr<Held> held; // goes, with its claim, once the lock is let go
    const std::lock_guard lock(m_mutex);
    m_letGo = true;
    m_stopRead.request_stop();
    held.swap(m_held);
}

void PhotoReadAhead::Slot::giveUp()
{
    m_giveUp.request_stop();
    m_stopRead.request_stop();
}

void PhotoReadAhead::start(const QString &path, int rotation, bool highQuality)
{
    // The photo whose turn comes now may still be waiting to be taken; anything
    // older is of no more use.
    while (m_pending.size() > 1)
        passOver(m_pending.takeFirst());
    auto slot = std::make_shared<Slot>();
    slot->m_path = path;
    // Shared, so that a job that never runs still leaves the line.
    auto place = std::make_shared<MemoryBudget::Place>(m_budget->line());
    // It writes nothing: a stop need not wait for it, and it shares all it uses.
    QFuture<void> future = QtConcurrent::run(m_pool.get(), [reader = m_reader, budget = m_budget, place, slot,
                                                            stopped = m_serviceStop, dropped = m_stop.get_token(),
                                                            rotation, highQuality] {
        // Dropped or stopped, it neither waits nor reads on.
        const auto giveUp = [&slot] { slot->giveUp(); };
        const std::stop_callback onDrop(dropped, giveUp);
        const std::stop_callback onStop(stopped, giveUp);
        if (slot->m_giveUp.stop_requested())
            return;
        // A photo too large to convert is left to its turn, which says so.
        const std::optional<PhotoCost> cost = PhotoCost::ofFile(slot->m_path, rotation);
        if (!cost || cost->sideTooLong() || cost->peak(highQuality) > budget->total())
            return;
        std::optional<MemoryBudget::Claim> claim =
            budget->claimYielding(std::move(*place), cost->reading(), slot->m_giveUp.get_token(),
                                  [weak = std::weak_ptr<Slot>(slot)] {
                                      if (const std::shared_ptr<Slot> held = weak.lock())
                                          held->letGo();
                                  });
        if (!claim)
            return;
        std::unique_ptr<Held> held;
        try {
            ReadPhoto photo = reader(slot->m_path, rotation, cost->stamp(), slot->m_stopRead.get_token());
            claim->shrinkTo(cost->held());
            held.reset(new Held{std::move(photo), *cost, std::move(*claim)});
        } catch (...) {
            // Left to the photo's own turn, which reads it again.
            return;
        }
        const std::lock_guard lock(slot->m_mutex);
        // Let go while it read, it goes at once (after the lock, as `held`).
        if (!slot->m_letGo)
            slot->m_held.swap(held);
    });
    m_pending.append({path, rotation, std::move(slot), std::move(future)});
}

void PhotoReadAhead::passOver(Pending pending)
{
    // Begun, it ends at once; not begun, it never runs.
    pending.future.cancel();
    pending.slot->giveUp();
}

void PhotoReadAhead::drop()
{
    for (Pending &pending : m_pending)
        pending.future.cancel();
    m_pending.clear();
    m_stop.request_stop();
    m_stop = std::stop_source();
}

QCoro::Task<std::shared_ptr<PhotoReadAhead::Slot>> PhotoReadAhead::take(const QString &path, int rotation)
{
    const auto match = std::find_if(m_pending.begin(), m_pending.end(), [&](const Pending &pending) {
        return pending.path == path && pending.rotation == rotation;
    });
    if (match == m_pending.end())
        co_return std::shared_ptr<Slot>();
    // Read-aheads of photos before this one were passed over.
    const qsizetype index = match - m_pending.begin();
    for (qsizetype i = 0; i < index; ++i)
        passOver(m_pending.takeFirst());
    Pending pending = m_pending.takeFirst();
    pending.slot->m_giveUp.request_stop();
    co_await FinishedAwaiter(pending.future, m_context);
    co_return pending.slot;
}

} // namespace pomelark
