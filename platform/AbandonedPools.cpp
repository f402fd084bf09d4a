#include "platform/AbandonedPools.h"

#include <mutex>
#include <vector>

namespace pomelark::AbandonedPools {

namespace {

std::mutex mutex;
/// Made once and never destroyed: the process may end while a job still runs.
std::vector<std::shared_ptr<QThreadPool>> &kept()
{
    static auto *pools = new std::vector<std::shared_ptr<QThreadPool>>;
    return *pools;
}

} // namespace

void keep(std::shared_ptr<QThreadPool> pool)
{
    // A thread left waiting for work would keep its event dispatcher's
    // descriptors for the life of the process.
    pool->setExpiryTimeout(0);
    const std::lock_guard lock(mutex);
    std::vector<std::shared_ptr<QThreadPool>> &pools = kept();
    // Those whose jobs have ended go now.
    std::erase_if(pools, [](const auto &each) { return each->waitForDone(0); });
    pools.push_back(std::move(pool));
}

int count()
{
    const std::lock_guard lock(mutex);
    return int(kept().size());
}

} // namespace pomelark::AbandonedPools
