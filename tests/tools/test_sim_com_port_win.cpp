// The simulator's pseudo-terminal as a Wine COM port: a port without modem lines, on which the
// line status reads empty and nothing else fails.
#include "tools/SimLink.h"

#include <gtest/gtest.h>

namespace tesmira::test {
namespace {

TEST(SimComPort, NoModemLinesReadAsAnEmptyStatusAndTheLineStillServes) {
    SimLink rig({"--type", "26", "--version", "9"});
    auto& port = rig.link.comport;
    ASSERT_TRUE(port.Connect());
    EXPECT_TRUE(port.GetLineStatus().empty());
    EXPECT_GT(port.OutFreeSpace(), 0);
    EXPECT_FALSE(port.LineFailed());
    port.Disconnect();
    EXPECT_EQ(rig.Run(ExchangeMode::Read).codes(), (std::vector<int>{2, 3, 0}));
}

} // namespace
} // namespace tesmira::test
