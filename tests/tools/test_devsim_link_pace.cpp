// The link against a simulator that paces its line like real hardware: a stop in the middle of a
// long send, and a firmware transfer that takes about as long as its bytes take on the wire.
#include "link/Frames.h"
#include "tools/SimLink.h"

#include <gtest/gtest.h>

namespace tesmira::test {
namespace {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

// 60,000 bytes at 9600 baud take more than a minute to go out; the pseudo-terminal buffers only
// some 20 kilobytes of them, so the send is still under way when the stop comes. It frees room
// for the writer in steps of about two kilobytes (two seconds at this speed), so the output
// time-out is raised to let the send go on as it does on a line that takes bytes steadily.
TEST(SimPacedLine, AStopDuringALongSendEndsItAtOnce) {
    SimLink rig({"--type", "32", "--pace"});
    rig.link.port.SetOutputTimeout(5000);
    const Bytes payload(60000 - 7, 0x5A);
    const std::size_t n =
        WriteLongFrame(rig.link.TransmitBuffer(), LongCommand::UploadFile, 32, 6, payload);
    ASSERT_EQ(n, 60000u);
    auto target = std::make_shared<RecordingTarget>();
    ASSERT_TRUE(rig.link.StartExchange(ExchangeMode::FileCommand, target, static_cast<int>(n)));
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(rig.link.ExchangeBusy()); // still sending
    const auto before = SteadyClock::now();
    rig.link.StopExchange();
    EXPECT_LT(SteadyClock::now() - before, 100ms);
    EXPECT_FALSE(rig.link.ExchangeRunning());
    EXPECT_FALSE(rig.link.port.Connected());
    EXPECT_EQ(target->codes(), (std::vector<int>{2})); // nothing reported after the stop
}

// 20 blocks of 258 bytes: 5,160 bytes, 448 ms on a 115200-baud line.
TEST(SimPacedLine, AFirmwareTransferTakesAboutItsWireTime) {
    TempDir dir;
    const std::string kept = (dir / "image.bin").string();
    SimLink rig({"--type", "35", "--pace", "--firmware-out", kept});
    const auto tx = rig.link.TransmitBuffer();
    Bytes image;
    for (int b = 0; b < 20; ++b) {
        image.insert(image.end(), {0x01, 0x00});
        for (int i = 0; i < 256; ++i)
            image.push_back(static_cast<std::uint8_t>(b + i));
    }
    std::copy(image.begin(), image.end(), tx.begin());
    const ExchangeOutcome out = rig.Run(ExchangeMode::Firmware, static_cast<int>(image.size()));
    ASSERT_TRUE(out.finished);
    ASSERT_EQ(out.reports.back().code, ExchangeReport::FirmwareProgress);
    ASSERT_EQ(out.reports.back().arg, 100);
    const auto wire = 448ms;
    EXPECT_GE(out.elapsed, wire); // the line really was paced
    EXPECT_LT(out.elapsed, 2 * wire + 500ms);
    ASSERT_EQ(rig.sim.Stop(), 0);
    EXPECT_EQ(ReadFile(kept), image);
}

} // namespace
} // namespace tesmira::test
