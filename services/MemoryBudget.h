#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <condition_variable>
#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <optional>
#include <stop_token>

namespace pomelark {

/// The memory a send may hold at once, and what holds it now.
///
/// Work that holds much claims what it will hold at its peak before it starts,
/// and waits until that fits beside what is held. Two kinds of work claim:
/// work that must come to pass (a photo's conversion: claim()), and work that
/// may be given up (reading the next photo ahead: claimYielding()). A yielding
/// claim waits behind every place taken before its own and behind any claim()
/// that waits, and once held it is asked to let go whenever a claim() waits
/// for room: no order of calls and no number of sends leaves a conversion
/// waiting on memory that only work queued behind it would free. Any thread.
class MemoryBudget {
public:
    explicit MemoryBudget(qint64 totalBytes);

    MemoryBudget(const MemoryBudget &) = delete;
    MemoryBudget &operator=(const MemoryBudget &) = delete;

    /// What a POMELARK_MEMORY_MB setting of `text` gives on a computer of
    /// `physicalBytes` (0 when it cannot tell).
    struct Setting {
        qint64 bytes = 0;
        /// Empty when the setting is used as written, or not set; else what was
        /// read and what is used instead, for the error output.
        QString note;
    };
    /// A whole number of megabytes above 0, at most the computer's memory;
    /// anything else (a unit, a sign, 0, words) gives the default: half the
    /// computer's memory, or 2 GB when it cannot tell. Never overflows.
    static Setting settingFrom(const QByteArray &text, qint64 physicalBytes);

    /// The budget POMELARK_MEMORY_MB sets on this computer, as settingFrom()
    /// reads it. A setting not used as written is said once on the error output.
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
        /// A yielding claim is no longer asked to let go: its work has become
        /// one that must come to pass.
        void keep();

    private:
        friend class MemoryBudget;
        Claim(MemoryBudget *budget, quint64 id, qint64 bytes) : m_budget(budget), m_id(id), m_bytes(bytes) {}
        MemoryBudget *m_budget;
        quint64 m_id;
        qint64 m_bytes;
    };

    /// A place in the line of yielding claims. Let go unclaimed, it leaves the
    /// line. Move-only.
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

    /// A place at the end of the line: a yielding claim waits until every
    /// place taken before its own has claimed or left.
    Place line();

    /// For work that must come to pass: blocks until `bytes` fit beside what is
    /// held, then holds them; `place` leaves the line at once. While it waits,
    /// every yielding claim held is asked to let go. A claim of more than the
    /// total waits until nothing else is held: refuse such work beforehand.
    /// Nothing once `stop` is requested before it is granted. What a `letGo`
    /// throws ends the claim, ungranted, and passes through.
    std::optional<Claim> claim(Place place, qint64 bytes, std::stop_token stop);

    /// For work that may be given up: blocks until every place taken before
    /// `place` has claimed or left, no claim() waits, and `bytes` fit beside
    /// what is held, then holds them. Whenever a claim() waits for room while
    /// this claim is held, `letGo` is called, on that claim()'s thread and
    /// never under the budget's lock: it must soon let go of the claim (destroy
    /// it), and do nothing when that has happened already. Nothing, and the
    /// place left, once `stop` is requested before it is granted.
    std::optional<Claim> claimYielding(Place place, qint64 bytes, std::stop_token stop, std::function<void()> letGo);

private:
    struct Yielding {
        std::function<void()> letGo;
        bool asked = false;
    };

    bool fits(qint64 bytes) const { return m_held + bytes <= m_total || m_held == 0; }
    void release(quint64 id, qint64 bytes, bool whole);
    void keep(quint64 id);
    void leave(quint64 id);

    const qint64 m_total;
    mutable std::mutex m_mutex;
    std::condition_variable_any m_changed;
    qint64 m_held = 0;
    quint64 m_nextId = 1;
    std::list<quint64> m_line; ///< places not yet claimed, in the order taken
    int m_waiting = 0;         ///< claim()s waiting for room
    std::map<quint64, Yielding> m_yielding; ///< yielding claims held, by id
};

} // namespace pomelark
