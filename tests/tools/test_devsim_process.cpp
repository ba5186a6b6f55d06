// The simulator as a program on its pseudo-terminal, driven by a plain raw client.
#include "tools/DevsimProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <thread>

namespace tesmira::test {
namespace {

using namespace std::chrono_literals;

const Bytes kReadRequest = {0x7E, 0x0A, 0x52, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE3};
const Bytes kReply26v9 = {0x7E, 0x13, 0x52, 0x1A, 0x09, 0x01, 0x08, 0x05, 0x02, 0x03,
                          0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0xF1};

TEST(DevsimProcess, ServesEveryOpenOfThePortAndEndsCleanlyOnSigterm) {
    DevsimProcess sim({"--type", "26", "--version", "9"});
    ASSERT_EQ(sim.slavePath().rfind("/dev/", 0), 0u) << sim.slavePath();
    for (int exchange = 0; exchange < 5; ++exchange) {
        RawClient port(sim.slavePath(), 9600);
        ASSERT_TRUE(port.ok());
        port.Send(kReadRequest);
        EXPECT_EQ(port.Receive(kReply26v9.size()), kReply26v9) << exchange;
        if (exchange == 2)
            std::this_thread::sleep_for(100ms); // a closed slave for a while
    }
    EXPECT_EQ(sim.Stop(), 0);
}

// A test program that crashes runs no destructor; its simulator must not live on.
TEST(DevsimProcessDeathTest, EndsWithATestProgramThatCrashes) {
    TempDir dir;
    const auto pidFile = dir / "pid";
    EXPECT_DEATH(
        {
            DevsimProcess sim({"--type", "26"});
            std::ofstream(pidFile) << sim.pid();
            std::abort();
        },
        "");
    int pid = 0;
    std::ifstream(pidFile) >> pid;
    ASSERT_GT(pid, 0);
    // Gone, or a zombie that nobody has reaped yet: either way no longer serving.
    const auto ended = [pid] {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string skip, state;
        return !(stat >> skip >> skip >> state) || state == "Z";
    };
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (!ended() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(ended());
}

TEST(DevsimProcess, MalformedInputNeverStopsItServing) {
    DevsimProcess sim({"--type", "26", "--version", "9"});
    RawClient port(sim.slavePath(), 9600);
    ASSERT_TRUE(port.ok());
    std::mt19937 rng(26);
    Bytes junk(3000);
    for (auto& b : junk)
        b = rng() % 8 == 0 ? 0x7E : static_cast<std::uint8_t>(rng());
    port.Send(junk);
    port.Send({0x14, 0x00, 0xFF, 0xFF, 0x20}); // announces 65535 bytes and stops
    std::this_thread::sleep_for(800ms);        // longer than the partial-frame pause
    (void)port.Receive(SIZE_MAX, 200ms);       // whatever the junk made it say
    port.Send(kReadRequest);
    EXPECT_EQ(port.Receive(kReply26v9.size()), kReply26v9);
    EXPECT_EQ(sim.Stop(), 0);
}

TEST(DevsimProcess, AnswersOnlyAtTheSpeedOfEachExchange) {
    DevsimProcess sim({"--type", "26", "--version", "9"});
    {
        RawClient fast(sim.slavePath(), 115200);
        fast.Send(kReadRequest);
        EXPECT_TRUE(fast.Receive(SIZE_MAX, 1200ms).empty());
    }
    {
        RawClient slow(sim.slavePath(), 9600);
        slow.Send({0x00, 0x01, 0x7E});
        EXPECT_TRUE(slow.Receive(SIZE_MAX, 800ms).empty());
    }
}

TEST(DevsimProcess, FirmwareImageWrittenAtExitEqualsTheAcceptedBlocks) {
    TempDir dir;
    const std::string out = (dir / "image.bin").string();
    DevsimProcess sim({"--type", "30", "--firmware-out", out, "--log"});
    const Bytes blocks[] = {{0x00, 0x03, 0x01, 0x02, 0x03}, {0x00, 0x00}, {0x00, 0x01, 0xFE}};
    Bytes image;
    {
        RawClient port(sim.slavePath(), 115200);
        for (const Bytes& b : blocks) {
            port.Send(b);
            EXPECT_EQ(port.Receive(1), Bytes{0x11});
            image.insert(image.end(), b.begin(), b.end());
        }
    }
    ASSERT_EQ(sim.Stop(), 0);
    EXPECT_EQ(ReadFile(out), image);
    EXPECT_NE(sim.Output().find("TX 11 | firmware answer"), std::string::npos) << sim.Output();
}

TEST(DevsimProcess, EveryOpenOfThePortStartsANewFirmwareTransfer) {
    // Block 2 of a transfer would be refused. Each open sends one block, and the port is opened
    // again at once: a reopen the device misses would join two transfers and refuse a block.
    TempDir dir;
    const std::string out = (dir / "image.bin").string();
    DevsimProcess sim({"--type", "35", "--refuse-block", "2", "--firmware-out", out});
    for (std::uint8_t open = 1; open <= 10; ++open) {
        RawClient port(sim.slavePath(), 115200);
        ASSERT_TRUE(port.ok());
        port.Send({0x00, 0x01, open});
        ASSERT_EQ(port.Receive(1), Bytes{0x11}) << "open " << int(open);
    }
    ASSERT_EQ(sim.Stop(), 0);
    EXPECT_EQ(ReadFile(out), (Bytes{0x00, 0x01, 10}));
}

// Root opens a port another program holds, TIOCEXCL or not; an open that is then refused the lock
// and closed must not cost the holder the answer it waits for.
TEST(DevsimProcess, AnotherOpenOfTheHeldPortIsNoNewSession) {
    DevsimProcess sim({"--type", "26", "--version", "9", "--delay", "600"});
    RawClient port(sim.slavePath(), 9600);
    ASSERT_TRUE(port.ok());
    port.Send(kReadRequest);
    std::this_thread::sleep_for(200ms); // the request is in, its answer due in 400 ms
    {
        RawClient other(sim.slavePath(), 9600);
        ASSERT_TRUE(other.ok());
    }
    EXPECT_EQ(port.Receive(kReply26v9.size()), kReply26v9);
}

TEST(DevsimProcess, LinkMonitorDecodesEachFrame) {
    DevsimProcess sim({"--type", "26", "--version", "9", "--log"});
    {
        RawClient port(sim.slavePath(), 9600);
        port.Send(kReadRequest);
        EXPECT_EQ(port.Receive(kReply26v9.size()).size(), kReply26v9.size());
    }
    ASSERT_EQ(sim.Stop(), 0);
    const std::string log = sim.Output();
    EXPECT_NE(log.find("RX 7E 0A 52 01 00 00 00 00 00 E3 | short cmd 'R' type 0 len 10 crc ok"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("| short cmd 'R' type 26 version 9 len 19 crc ok"), std::string::npos)
        << log;
}

} // namespace
} // namespace tesmira::test
