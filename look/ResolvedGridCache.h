#pragma once

#include "look/PixelCharacter.h"

#include <QHash>

#include <atomic>
#include <memory>
#include <mutex>

namespace pomelark {

/// The process-wide store of resolved mascot grids, so that redrawing at sixty
/// frames a second costs a locked look-up instead of a resolve. Entries are
/// never removed: the keys are bounded by the palettes, faces and lens flag the
/// callers pass.
///
/// The character is not part of the key: the store serves the application's one
/// character, and drawing a second character through it would show the first.
class ResolvedGridCache {
public:
    struct Key {
        PixelPalette palette;
        QString expression;
        bool showLens = false;

        friend bool operator==(const Key &, const Key &) = default;
    };

    static ResolvedGridCache &shared();

    /// The grid stored under `key`, resolved from `character` on a miss. The
    /// lock is held only for the look-up and the store, not while resolving, so
    /// two threads missing the same key both resolve it and one identical grid
    /// stays.
    std::shared_ptr<const ResolvedGrid> grid(const PixelCharacter &character, const Key &key);

    /// How many grids were resolved through this cache so far (tests).
    int resolveCount() const { return m_resolves.load(); }
    int storedCount() const;

private:
    ResolvedGridCache() = default;

    mutable std::mutex m_lock;
    QHash<Key, std::shared_ptr<const ResolvedGrid>> m_store;
    std::atomic<int> m_resolves{0};
};

inline size_t qHash(const ResolvedGridCache::Key &key, size_t seed = 0)
{
    return qHashMulti(seed, key.palette, key.expression, key.showLens);
}

} // namespace pomelark
