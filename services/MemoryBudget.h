#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <list>
#include <mutex>
#include <optional>
#include <stop_token>

namespace pomelark {

/// The memory a send may hold at once, and what holds it now.
///
/// Work that holds much (a photo's read, its encode) claims what it will hold
/// at its peak before it starts, and waits until that fits beside what is
/// held. Claims are granted in the order their places were taken, so that a
/// photo's conversion is never kept waiting by the read-ahead of the photo
/// after it. Any thread.
class MemoryBudget {
public:
    explicit MemoryBudget(qint64 totalBytes);

    MemoryBudget(const MemoryBudget &) = delete;
    MemoryBudget &operator=(const MemoryBudget &) = delete;

    /// POMELARK_MEMORY_MB, when it is set to a whole number of megabytes above
    /// 0; else half the computer's physical memory (2 GB when it cannot tell).
    static qint64 configuredBytes();

    qint64 total() const { return m_total; }
    /// What the claims hold now.
    qint64 held() const;

    /// Memory held until the claim is let go (destroyed). Move-only.
    class Claim {
    public:
        Claim(Claim &&other) noexcept;
        Claim &operator=(Claim &&) = delete;
        ~Claim();

        qint64 bytes() const { return m_bytes; }
        /// Lets go of all but `bytes` of what the claim holds.
        void shrinkTo(qint64 bytes);

    private:
        friend class MemoryBudget;
        Claim(MemoryBudget *budget, qint64 bytes) : m_budget(budget), m_bytes(bytes) {}
        MemoryBudget *m_budget;
        qint64 m_bytes;
    };

    /// A place in the line of claims. Let go unclaimed, it leaves the line.
    /// Move-only.
    class Place {
    public:
        Place(Place &&other) noexcept;
        Place &operator=(Place &&) = delete;
        ~Place();

    private:
        friend class MemoryBudget;
        Place(MemoryBudget *budget, quint64 id) : m_budget(budget), m_id(id) {}
        MemoryBudget *m_budget;
        quint64 m_id;
    };

    /// A place at the end of the line: take them in the order the claims are to
    /// be granted.
    Place line();

    /// Blocks until every place taken before `place` has claimed or left and
    /// `bytes` fit beside what is held, then holds them. Claims of more than
    /// the total wait until nothing else is held: refuse such work beforehand.
    /// Nothing, and the place left, once `stop` is requested before that.
    std::optional<Claim> claim(Place place, qint64 bytes, std::stop_token stop = {});

private:
    void release(qint64 bytes);
    void leave(quint64 id);

    const qint64 m_total;
    mutable std::mutex m_mutex;
    std::condition_variable_any m_changed;
    qint64 m_held = 0;
    quint64 m_nextId = 1;
    std::list<quint64> m_line; ///< places not yet claimed, in the order taken
};

} // namespace pomelark
