// The link module: its port settings, the receive buffer's rules and SendFrame.
#include "link/LinkModule.h"
#include "support/LinkFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <utility>

namespace tesmira {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::FakeSerialBackend;
using test::ManualPollTimer;
using test::VirtualClock;

struct ModuleRig {
    VirtualClock clock;
    ManualPollTimer timer{&clock};
    FakeSerialBackend* fake = nullptr;
    std::unique_ptr<LinkModule> link;

    ModuleRig() {
        auto backend = std::make_unique<FakeSerialBackend>();
        fake = backend.get();
        link = std::make_unique<LinkModule>(timer, clock, std::move(backend));
    }
    void Receive(const Bytes& chunk) { link->AppendReceived(chunk.data(), chunk.size()); }
};

TEST(LinkModule, ThePortIsSetUpForTheDevices) {
    ModuleRig rig;
    const SerialPort& p = rig.link->port;
    EXPECT_EQ(p.Port(), PortNumber::Custom);
    EXPECT_EQ(p.PortName(), "\\\\.\\COM1");
    EXPECT_EQ(p.BaudRate(), StandardBaud::Custom);
    EXPECT_EQ(p.BaudRateValue(), 9600u);
    EXPECT_EQ(p.DataBits(), CharSize::Eight);
    EXPECT_EQ(p.StopBits(), StopBitCount::One);
    EXPECT_EQ(p.Parity(), ParityMode::None);
    EXPECT_EQ(p.HardwareFlow(), HardwareFlowMode::None);
    EXPECT_EQ(p.SoftwareFlow(), SoftwareFlowMode::None);
    EXPECT_EQ(p.InputQueueSize(), 1024u);
    EXPECT_EQ(p.OutputQueueSize(), 1024u);
    EXPECT_EQ(p.PollPeriodMs(), 100);
    EXPECT_FALSE(p.DtrOnOpen());
    EXPECT_EQ(p.OutputTimeout(), 100);
    EXPECT_FALSE(p.CheckModemLines());
}

TEST(LinkModule, BuffersStartEmptyAndZero) {
    ModuleRig rig;
    EXPECT_EQ(rig.link->ReceiveBuffer().size(), 2112u);
    EXPECT_EQ(rig.link->TransmitBuffer().size(), 122881u);
    EXPECT_EQ(rig.link->ReceivedCount(), 0);
    const auto tx = rig.link->TransmitBuffer();
    EXPECT_TRUE(std::all_of(tx.begin(), tx.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(LinkModule, ReceivedBytesAppendAndClearReceiveZeroesAll) {
    ModuleRig rig;
    rig.Receive({1, 2, 3});
    rig.Receive({4});
    EXPECT_EQ(rig.link->ReceivedCount(), 4);
    const auto rx = rig.link->ReceiveBuffer();
    EXPECT_EQ(Bytes(rx.begin(), rx.begin() + 5), (Bytes{1, 2, 3, 4, 0}));
    rig.link->ClearReceive();
    EXPECT_EQ(rig.link->ReceivedCount(), 0);
    EXPECT_TRUE(std::all_of(rx.begin(), rx.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(LinkModule, OnlyWhatFitsIsCopiedButTheWholeChunkCounts) {
    ModuleRig rig;
    rig.Receive(Bytes(2100, 0x11));
    rig.Receive(Bytes(20, 0x22)); // 12 fit
    EXPECT_EQ(rig.link->ReceivedCount(), 2120);
    const auto rx = rig.link->ReceiveBuffer();
    EXPECT_EQ(rx[2099], 0x11);
    EXPECT_EQ(rx[2100], 0x22);
    EXPECT_EQ(rx[2111], 0x22);
    rig.Receive(Bytes(5, 0x33)); // at the limit: dropped
    EXPECT_EQ(rig.link->ReceivedCount(), 2120);
    EXPECT_EQ(rx[2111], 0x22);
}

TEST(LinkModule, AChunkThatEndsExactlyAtTheLimitThenDrops) {
    ModuleRig rig;
    rig.Receive(Bytes(2112, 0x44));
    EXPECT_EQ(rig.link->ReceivedCount(), 2112);
    rig.Receive({0x55});
    EXPECT_EQ(rig.link->ReceivedCount(), 2112);
    rig.Receive({});
    EXPECT_EQ(rig.link->ReceivedCount(), 2112);
}

TEST(LinkModule, SendFrameFlushesThenSendsTheFirstBytes) {
    ModuleRig rig;
    rig.link->port.SetPortName("/dev/fake");
    ASSERT_TRUE(rig.link->port.Connect());
    rig.fake->calls.clear();
    auto tx = rig.link->TransmitBuffer();
    for (int i = 0; i < 12; ++i)
        tx[i] = static_cast<std::uint8_t>(0xA0 + i);
    rig.link->SendFrame(10);
    EXPECT_EQ(rig.fake->calls, (std::vector<std::string>{"PurgeInOut", "Write"}));
    EXPECT_EQ(rig.fake->written,
              (Bytes{0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9}));
}

TEST(LinkModule, ThePollFillsTheReceiveBuffer) {
    ModuleRig rig;
    ASSERT_TRUE(rig.link->port.Connect());
    rig.fake->input = {0x7E, 0x05, 0x00};
    ASSERT_TRUE(rig.timer.Fire());
    EXPECT_EQ(rig.link->ReceivedCount(), 3);
    EXPECT_EQ(rig.link->ReceiveBuffer()[1], 0x05);
}

// A frame or firmware block that went out only in part cannot be answered for: the exchange
// fails at once, without waiting for a reply to bytes the device never got.
TEST(LinkModule, APartlySentFrameOrBlockFailsTheExchange) {
    const Bytes writeAck = {0x7E, 0x06, 0x57, 0x1A, 0x09, 0x10};
    for (const ExchangeMode mode : {ExchangeMode::Write, ExchangeMode::Firmware}) {
        SCOPED_TRACE(static_cast<int>(mode));
        ModuleRig rig;
        const Bytes block = {0x00, 0x03, 0xAA, 0xBB, 0xCC};
        std::copy(block.begin(), block.end(), rig.link->TransmitBuffer().begin());
        rig.fake->writeRoom = 3; // then the output queue stays full
        // An answer comes all the same while the send waits for room: taking it would report a
        // success.
        const Bytes answer = mode == ExchangeMode::Write ? writeAck : Bytes{0x11};
        bool answered = false;
        rig.clock.onSleep = [&] {
            if (!std::exchange(answered, true))
                rig.fake->input.assign(answer.begin(), answer.end());
            rig.timer.Fire();
        };
        auto target = std::make_shared<test::RecordingTarget>();
        ASSERT_TRUE(rig.link->StartExchange(mode, target, 5));
        ASSERT_TRUE(target->WaitFinal(10s));
        rig.link->StopExchange();
        EXPECT_EQ(target->codes(), (std::vector<int>{2, 7}));
        EXPECT_EQ(rig.fake->written, Bytes(block.begin(), block.begin() + 3));
    }
}

// The start of the next exchange from inside the last one's final report, while that one has
// still to close its port: accepted at once (a window that has handled the report starts the
// next command), and the new exchange opens the port only once the old one has closed it.
TEST(LinkModule, ANewExchangeStartsFromTheFinalReportAndWaitsForTheLastToClose) {
    ModuleRig rig;
    std::mutex gate;
    std::unique_lock closing(gate);
    std::atomic<bool> closingStarted{false};
    std::atomic<int> opens{0};
    rig.fake->onClose = [&] {
        closingStarted = true;
        std::lock_guard wait(gate);
    };
    auto second = std::make_shared<test::RecordingTarget>();
    auto first = std::make_shared<test::RecordingTarget>();
    std::atomic<bool> startedInReport{false};
    first->onReport = [&](const test::RecordingTarget::Entry& e) {
        if (e.code != ExchangeReport::FirmwareProgress)
            return;
        // On the exchange's own thread, as a handler of the program runs while it waits.
        EXPECT_FALSE(rig.link->ExchangeBusy());
        startedInReport = rig.link->StartExchange(ExchangeMode::Firmware, second, 0);
        opens = static_cast<int>(
            std::count(rig.fake->calls.begin(), rig.fake->calls.end(), std::string("Open")));
    };
    ASSERT_TRUE(rig.link->StartExchange(ExchangeMode::Firmware, first, 0)); // 2, then 5:100
    while (!closingStarted)
        std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(startedInReport);
    EXPECT_EQ(opens, 1);
    // The first still closes the port: the second is running and busy, but has not opened it.
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(rig.link->ExchangeRunning());
    EXPECT_TRUE(rig.link->ExchangeBusy());
    EXPECT_TRUE(second->codes().empty());
    closing.unlock();
    EXPECT_TRUE(second->WaitFinal(10s));
    rig.link->StopExchange();
    EXPECT_EQ(second->codes(), (std::vector<int>{2, 5}));
}

} // namespace
} // namespace tesmira
