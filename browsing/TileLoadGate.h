#pragma once

#include "browsing/TileSources.h"

#include <QHash>
#include <QList>
#include <QUuid>

#include <functional>
#include <memory>

namespace pomelark {

/// Lets the grid's tiles start their picture loads only once they are on
/// screen, and only a few at a time. The services queue every load they are
/// given and cannot take one back, so a fast scroll over thousands of items
/// would otherwise line up a load for each tile passed over, ahead of the
/// tiles finally shown. Here a tile's load waits for the grid to admit it;
/// a tile that leaves before its turn never reaches the services.
class TileLoadGate {
public:
    /// Loads handed to the services at once: enough to keep the two decode
    /// slots busy, few enough that a scroll leaves little work behind.
    static constexpr int maxLoading = 4;

    /// `onRoom` is called from the event loop each time a load finishes.
    explicit TileLoadGate(std::function<void()> onRoom);
    /// Loads not yet handed to the services end with nothing, without reaching them.
    ~TileLoadGate();
    TileLoadGate(const TileLoadGate &) = delete;
    TileLoadGate &operator=(const TileLoadGate &) = delete;

    /// The sources for the tile of `id`: they wait until `admit` lets the
    /// tile in. A tile made anew for the same id replaces the earlier one's turn.
    TileSources sourcesFor(const TileSources &sources, const QUuid &id);
    /// Lets waiting tiles in, in the given order, while fewer than
    /// `maxLoading` loads run; ids without a waiting load are passed over.
    void admit(const QList<QUuid> &ids);
    /// The tile of `id` went away: its load, unless already handed to the
    /// services, ends with nothing.
    void drop(const QUuid &id);

    int loading() const;
    bool isWaiting(const QUuid &id) const;

    struct State;
    struct Ticket;

private:
    std::shared_ptr<State> m_state;
    QHash<QUuid, std::shared_ptr<Ticket>> m_tickets;
};

} // namespace pomelark
