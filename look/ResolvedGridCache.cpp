#include "look/ResolvedGridCache.h"

namespace pomelark {

ResolvedGridCache &ResolvedGridCache::shared()
{
    // Never released: pictures may still be drawn while the process winds down.
    static ResolvedGridCache *cache = new ResolvedGridCache;
    return *cache;
}

std::shared_ptr<const ResolvedGrid> ResolvedGridCache::grid(const PixelCharacter &character, const Key &key)
{
    {
        std::lock_guard guard(m_lock);
        const auto hit = m_store.constFind(key);
        if (hit != m_store.constEnd())
            return *hit;
    }
    auto resolved =
        std::make_shared<const ResolvedGrid>(character.resolvedGrid(key.palette, key.expression, key.showLens));
    ++m_resolves;
    std::lock_guard guard(m_lock);
    m_store.insert(key, resolved);
    return resolved;
}

int ResolvedGridCache::storedCount() const
{
    std::lock_guard guard(m_lock);
    return int(m_store.size());
}

} // namespace pomelark
