#include "services/MemoryBudget.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

using namespace pomelark;

TEST(MemoryBudget, ClaimsComeInLineOrderWhenTheyFitAndAStopOrALeftPlaceFreesTheLine)
{
    // A claim that never comes fails the test instead of hanging it.
    const auto done = [](auto &future) {
        return future.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    };
    MemoryBudget budget(100);

    // The second in line fits on its own, but not beside the first: it is
    // granted only after the first was, and let go.
    MemoryBudget::Place first = budget.line(), second = budget.line();
    std::atomic_bool firstGranted = false;
    auto afterFirst =
        std::async(std::launch::async, [&] { return budget.claim(std::move(second), 30) && firstGranted; });
    firstGranted = budget.claim(std::move(first), 80).has_value();
    ASSERT_TRUE(done(afterFirst));
    EXPECT_TRUE(afterFirst.get());

    // One that does not fit beside what is held stops when told, leaving the
    // line; one behind it waits for the held claim to shrink; a place let go
    // unclaimed lets those behind it through.
    std::optional<MemoryBudget::Claim> held = budget.claim(budget.line(), 90);
    std::stop_source stop;
    auto stopped = std::async(std::launch::async, [&] { return budget.claim(budget.line(), 50, stop.get_token()); });
    stop.request_stop();
    ASSERT_TRUE(done(stopped));
    EXPECT_FALSE(stopped.get());
    auto shrunk = std::async(std::launch::async, [&] { return budget.claim(budget.line(), 50).has_value(); });
    budget.line(); // a place let go at once
    held->shrinkTo(40);
    ASSERT_TRUE(done(shrunk));
    EXPECT_EQ(budget.held(), 40);
}
