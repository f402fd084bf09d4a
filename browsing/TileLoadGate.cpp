#include "browsing/TileLoadGate.h"

#include "platform/SharedOutcome.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <utility>

namespace pomelark {

struct TileLoadGate::State {
    int admitted = 0; ///< let in, not yet handed to the services
    int running = 0;  ///< handed to the services, not yet ended
    QSet<QUuid> wanted;
    std::function<void()> onRoom;
};

struct TileLoadGate::Ticket {
    /// One wait to be let in: true when let in, false when the tile went away.
    struct Turn {
        SharedOutcome<bool> go;
        bool taken = false;
    };

    explicit Ticket(QUuid id) : id(id) {}

    const QUuid id;
    std::shared_ptr<Turn> turn = std::make_shared<Turn>();
    bool closed = false;

    bool isWaiting() const { return !turn->go.isSet(); }
    /// Its tile went away: a load not yet handed to the services never will be.
    void close()
    {
        closed = true;
        if (isWaiting())
            turn->go.setValue(false);
    }
};

namespace {

using State = TileLoadGate::State;
using Ticket = TileLoadGate::Ticket;

void tellRoom(const std::shared_ptr<State> &state)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [state] {
            if (state->onRoom)
                state->onRoom();
        },
        Qt::QueuedConnection);
}

// Counts a load that reached the services until it ends, however it ends.
struct Running {
    explicit Running(std::shared_ptr<State> counted) : state(std::move(counted)) { ++state->running; }
    ~Running()
    {
        --state->running;
        tellRoom(state);
    }
    std::shared_ptr<State> state;
};

/// One try at the services: the result, or nothing when the load gave its turn up.
template <typename T>
using Attempt = std::function<QCoro::Task<std::optional<T>>()>;

template <typename T>
QCoro::Task<T> gatedLoad(std::shared_ptr<State> state, std::shared_ptr<Ticket> ticket, Attempt<T> attempt)
{
    for (;;) {
        const std::shared_ptr<Ticket::Turn> turn = ticket->turn;
        if (!co_await turn->go.wait())
            co_return T{};
        // Later loads of the same tile pass through the turn it was given.
        if (!std::exchange(turn->taken, true))
            --state->admitted;
        if (ticket->closed) {
            tellRoom(state);
            co_return T{};
        }
        std::optional<T> result;
        {
            Running running(state);
            result = co_await attempt();
        }
        if (result)
            co_return std::move(*result);
        if (ticket->closed)
            co_return T{};
        // Given up while off screen: back in line, let in again once wanted.
        if (ticket->turn == turn)
            ticket->turn = std::make_shared<Ticket::Turn>();
    }
}

} // namespace

TileLoadGate::TileLoadGate(std::function<void()> onRoom) : m_state(std::make_shared<State>())
{
    m_state->onRoom = std::move(onRoom);
}

TileLoadGate::~TileLoadGate()
{
    m_state->onRoom = nullptr;
    for (const auto &ticket : std::as_const(m_tickets))
        ticket->close();
}

TileLoadGate::Loaders TileLoadGate::sourcesFor(const TileSources &sources, const QUuid &id)
{
    drop(id);
    auto ticket = std::make_shared<Ticket>(id);
    m_tickets.insert(id, ticket);
    Loaders gated;
    if (auto thumbnail = sources.thumbnail)
        gated.thumbnail = [state = m_state, ticket, thumbnail](QUrl url) {
            auto stillWanted = [state, ticket] { return !ticket->closed && state->wanted.contains(ticket->id); };
            Attempt<std::optional<QImage>> attempt =
                [thumbnail, url, stillWanted]() -> QCoro::Task<std::optional<std::optional<QImage>>> {
                ThumbnailLoad load = co_await thumbnail(url, stillWanted);
                if (load.withdrawn)
                    co_return std::nullopt;
                co_return std::move(load.image);
            };
            return gatedLoad(state, ticket, std::move(attempt));
        };
    if (auto videoInfo = sources.videoInfo)
        gated.videoInfo = [state = m_state, ticket, videoInfo](QUrl url) {
            Attempt<VideoInfo> attempt = [videoInfo, url]() -> QCoro::Task<std::optional<VideoInfo>> {
                co_return co_await videoInfo(url);
            };
            return gatedLoad(state, ticket, std::move(attempt));
        };
    // A tile the grid wants is let in before it asks, so a picture at hand
    // shows at once rather than fading in.
    if (m_state->wanted.contains(id) && loading() < maxLoading)
        letIn(id);
    return gated;
}

void TileLoadGate::admit(const QList<QUuid> &ids)
{
    m_state->wanted = QSet<QUuid>(ids.cbegin(), ids.cend());
    for (const QUuid &id : ids) {
        if (loading() >= maxLoading)
            return;
        letIn(id);
    }
}

void TileLoadGate::letIn(const QUuid &id)
{
    const auto ticket = m_tickets.value(id);
    if (!ticket || !ticket->isWaiting())
        return;
    ++m_state->admitted;
    ticket->turn->go.setValue(true);
}

void TileLoadGate::drop(const QUuid &id)
{
    if (const auto ticket = m_tickets.take(id))
        ticket->close();
}

int TileLoadGate::loading() const
{
    return m_state->admitted + m_state->running;
}

bool TileLoadGate::isWaiting(const QUuid &id) const
{
    const auto ticket = m_tickets.value(id);
    return ticket && ticket->isWaiting();
}

} // namespace pomelark
