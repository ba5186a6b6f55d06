// Waiting for the link to be free before an editor fills the transmit buffer, in virtual time.
#include "editors/LinkIdle.h"
#include "support/LinkFakes.h"

#include <gtest/gtest.h>

namespace tesmira {
namespace {

TEST(LinkIdle, AFreeLinkIsTakenWithoutSleeping) {
    test::VirtualClock clock;
    EXPECT_TRUE(WaitUntilLinkIdle([] { return false; }, clock));
    EXPECT_EQ(clock.sleeps(), 0u);
}

TEST(LinkIdle, AnExchangeThatEndsWithinTheLimitIsWaitedFor) {
    test::VirtualClock clock;
    const std::uint64_t start = clock.NowMs();
    int asked = 0;
    EXPECT_TRUE(WaitUntilLinkIdle([&] { return ++asked <= 3; }, clock, 1000, 5));
    EXPECT_EQ(clock.NowMs() - start, 15u);
}

TEST(LinkIdle, AnExchangeThatKeepsTheLinkMakesItGiveUpAtTheLimit) {
    test::VirtualClock clock;
    const std::uint64_t start = clock.NowMs();
    EXPECT_FALSE(WaitUntilLinkIdle([] { return true; }, clock, 1000, 5));
    EXPECT_EQ(clock.NowMs() - start, 1000u);
}

TEST(LinkIdle, AStepOfZeroStillLetsTimePass) {
    test::VirtualClock clock;
    EXPECT_FALSE(WaitUntilLinkIdle([] { return true; }, clock, 10, 0));
    EXPECT_EQ(clock.sleeps(), 10u);
}

} // namespace
} // namespace tesmira
