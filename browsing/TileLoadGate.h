#pragma once

#include "browsing/TileSources.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QUuid>

#include <functional>
#include <memory>

namespace pomelark {

/// Lets the grid's tiles start their picture loads only while the grid wants
/// them (on screen, or about to be), only a few at a time and the most urgent
/// first. The services queue the loads they are given, so a fast scroll over
/// thousands of items would otherwise line up a load for each tile passed
/// over, ahead of the tiles finally shown. Here a tile's load waits for the
/// grid to let it in; a tile that leaves before its turn never reaches the
/// services, and a photo load already queued there gives its turn up, without
/// a decode, when its tile is no longer wanted by then.
class TileLoadGate {
public:
    /// Loads handed to the services at once: enough to keep the two decode
    /// slots busy, few enough that a scroll leaves little work behind.
    static constexpr int maxLoading = 4;

    /// What a tile loads its pictures through.
    struct Loaders {
        std::function<QCoro::Task<std::optional<QImage>>(QUrl)> thumbnail;
        std::function<QCoro::Task<VideoInfo>(QUrl)> videoInfo;
    };

    /// `onRoom` is called from the event loop each time a load finishes.
    explicit TileLoadGate(std::function<void()> onRoom);
    /// Loads not yet handed to the services end with nothing, without reaching them.
    ~TileLoadGate();
    TileLoadGate(const TileLoadGate &) = delete;
    TileLoadGate &operator=(const TileLoadGate &) = delete;

    /// The loaders for the tile of `id`: they wait until the tile is let in,
    /// at once when the grid wants it and there is room. A tile made anew for
    /// the same id replaces the earlier one's turn.
    Loaders sourcesFor(const TileSources &sources, const QUuid &id);
    /// The tiles the grid wants loaded now, most urgent first: waiting ones
    /// are let in in that order while fewer than `maxLoading` loads run (ids
    /// without a waiting load are passed over). A photo load of any other tile
    /// that reaches its turn to decode gives it up and waits to be let in again.
    void admit(const QList<QUuid> &ids);
    /// The tile of `id` went away: its load, unless already handed to the
    /// services, ends with nothing.
    void drop(const QUuid &id);

    int loading() const;
    bool isWaiting(const QUuid &id) const;

    struct State;
    struct Ticket;

private:
    void letIn(const QUuid &id);

    std::shared_ptr<State> m_state;
    QHash<QUuid, std::shared_ptr<Ticket>> m_tickets;
};

} // namespace pomelark
