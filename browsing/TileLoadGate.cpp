#include "browsing/TileLoadGate.h"

#include "platform/SharedOutcome.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <utility>

namespace pomelark {

struct TileLoadGate::State {
    int admitted = 0; ///< let in, not yet handed to the services
    int running = 0;  ///< handed to the services, not yet ended
    std::function<void()> onRoom;
};

struct TileLoadGate::Ticket {
    SharedOutcome<bool> go;
    bool started = false;
    bool cancelled = false;

    bool isWaiting() const { return !go.isSet(); }
    /// Its tile went away: a load not yet handed to the services never will be.
    void close()
    {
        if (isWaiting())
            go.setValue(false);
        else if (!started)
            cancelled = true;
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
    std::shared_ptr<State> state;
    ~Running()
    {
        --state->running;
        tellRoom(state);
    }
};

template <typename T, typename Load>
QCoro::Task<T> gatedLoad(std::shared_ptr<State> state, std::shared_ptr<Ticket> ticket, Load load, QUrl url)
{
    if (!co_await ticket->go.wait())
        co_return T{};
    if (!std::exchange(ticket->started, true))
        --state->admitted;
    if (ticket->cancelled) {
        tellRoom(state);
        co_return T{};
    }
    ++state->running;
    Running running{state};
    co_return co_await load(std::move(url));
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

TileSources TileLoadGate::sourcesFor(const TileSources &sources, const QUuid &id)
{
    drop(id);
    auto ticket = std::make_shared<Ticket>();
    m_tickets.insert(id, ticket);
    TileSources gated;
    if (auto thumbnail = sources.thumbnail)
        gated.thumbnail = [state = m_state, ticket, thumbnail](QUrl url) {
            return gatedLoad<std::optional<QImage>>(state, ticket, thumbnail, std::move(url));
        };
    if (auto videoInfo = sources.videoInfo)
        gated.videoInfo = [state = m_state, ticket, videoInfo](QUrl url) {
            return gatedLoad<VideoInfo>(state, ticket, videoInfo, std::move(url));
        };
    return gated;
}

void TileLoadGate::admit(const QList<QUuid> &ids)
{
    for (const QUuid &id : ids) {
        if (loading() >= maxLoading)
            return;
        const auto ticket = m_tickets.value(id);
        if (!ticket || !ticket->isWaiting())
            continue;
        ++m_state->admitted;
        ticket->go.setValue(true);
    }
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
