#include "platform/TerminationSignals.h"

#include "support/AsyncTest.h"

#include <csignal>

#include <gtest/gtest.h>

using namespace pomelark;

TEST(TerminationSignals, ATerminationRequestArrivesThroughTheEventLoop)
{
    int calls = 0;
    {
        TerminationSignals signals([&calls] { ++calls; });
        ASSERT_TRUE(signals.isActive());
        // Only one instance may hold the handlers.
        TerminationSignals second([] {});
        EXPECT_FALSE(second.isActive());

        std::raise(SIGTERM);
        EXPECT_EQ(calls, 0); // never from inside the signal handler
        EXPECT_TRUE(test::spinUntil([&] { return calls == 1; }));
        std::raise(SIGHUP);
        EXPECT_TRUE(test::spinUntil([&] { return calls == 2; }));
    }
    // Handlers restored: a new instance can take them again.
    TerminationSignals again([] {});
    EXPECT_TRUE(again.isActive());
}
