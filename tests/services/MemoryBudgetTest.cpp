#include "services/MemoryBudget.h"

#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

using namespace pomelark;
using namespace pomelark::test;

TEST(MemoryBudget, ClaimsComeInLineOrderWhenTheyFitAndAStopOrALeftPlaceFreesTheLine)
{
    {
        const ScopedEnv set("POMELARK_MEMORY_MB", "300");
        EXPECT_EQ(MemoryBudget::configuredBytes(), qint64(300) << 20);
    }
    {
        const ScopedEnv unreadable("POMELARK_MEMORY_MB", "lots");
        EXPECT_GT(MemoryBudget::configuredBytes(), 0);
    }

    // A claim that never comes fails the test instead of hanging it.
    const auto done = [](auto &future) {
        return future.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    };
    MemoryBudget budget(100);

    // The second in line fits on its own, but not beside the first: it is
    // granted only after the first was, and let go.
    MemoryBudget::Place first = budget.line();
    MemoryBudget::Place second = budget.line();
    std::atomic_bool firstGranted = false;
    auto secondClaim = std::async(std::launch::async, [&] {
        const bool afterFirst = budget.claim(std::move(second), 30).has_value() && firstGranted;
        return afterFirst;
    });
    {
        const std::optional<MemoryBudget::Claim> claim = budget.claim(std::move(first), 80);
        firstGranted = claim.has_value();
    }
    ASSERT_TRUE(done(secondClaim));
    EXPECT_TRUE(secondClaim.get());
    EXPECT_EQ(budget.held(), 0);

    // One that does not fit beside what is held waits for it to shrink, or
    // stops when told, leaving the line to those behind it.
    std::optional<MemoryBudget::Claim> held = budget.claim(budget.line(), 90);
    std::stop_source stop;
    auto stopped = std::async(std::launch::async, [&] { return budget.claim(budget.line(), 50, stop.get_token()); });
    stop.request_stop();
    ASSERT_TRUE(done(stopped));
    EXPECT_FALSE(stopped.get());
    auto shrunk = std::async(std::launch::async, [&] { return budget.claim(budget.line(), 50); });
    held->shrinkTo(40);
    ASSERT_TRUE(done(shrunk));
    EXPECT_EQ(budget.held(), 90);

    // A place let go unclaimed lets those behind it through.
    {
        const MemoryBudget::Place dropped = budget.line();
    }
    held.reset();
    EXPECT_TRUE(budget.claim(budget.line(), 10).has_value());
}
