// Exchanges started through the link module: a thread of their own, the poll on another, the
// device on a third, in real time. These also run under ThreadSanitizer.
#include "link/FrameDecoder.h"
#include "link/LinkModule.h"
#include "support/LinkFrames.h"
#include "support/LinkPeers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>

namespace tesmira {
namespace {

using namespace std::chrono_literals;
using test::Block;
using test::Bytes;
using test::kReadRequest;
using test::kReply26;
using test::PeerStep;
using test::PeerThread;
using test::PtyPair;
using test::RecordingTarget;
using Codes = std::vector<int>;
using SteadyClock = std::chrono::steady_clock;

struct ThreadRig {
    PtyPair pty;
    ThreadPollTimer timer;
    LinkModule link{timer};
    std::shared_ptr<RecordingTarget> target = std::make_shared<RecordingTarget>();

    ThreadRig() { link.port.SetPortName(pty.slavePath()); }

    // Waits for the final report and for the thread to end.
    bool Finish(std::chrono::milliseconds limit = 20s) {
        if (!target->WaitFinal(limit))
            return false;
        const auto end = SteadyClock::now() + limit;
        while (link.ExchangeRunning() && SteadyClock::now() < end)
            std::this_thread::sleep_for(1ms);
        return !link.ExchangeRunning();
    }
};

TEST(ExchangeThread, ReadOfAShortReply) {
    ThreadRig rig;
    PeerThread device(rig.pty, {{10, 0, kReply26}});
    ASSERT_TRUE(rig.link.StartExchange(ExchangeMode::Read, rig.target));
    ASSERT_TRUE(rig.Finish());
    EXPECT_EQ(rig.target->codes(), (Codes{2, 3, 0}));
    EXPECT_EQ(rig.target->entries().back().arg, 26);
    EXPECT_EQ(device.fromHost(), kReadRequest);
    EXPECT_FALSE(rig.link.port.Connected());
}

TEST(ExchangeThread, ReadOfALongReply) {
    ThreadRig rig;
    const Bytes reply = test::LongReply(32, 2052);
    PeerThread device(rig.pty, {{10, 0, reply}});
    ASSERT_TRUE(rig.link.StartExchange(ExchangeMode::Read, rig.target));
    ASSERT_TRUE(rig.Finish());
    EXPECT_EQ(rig.target->codes(), (Codes{2, 3, 0}));
    EXPECT_EQ(rig.target->entries().back().arg, 32);
    const auto rx = rig.link.ReceiveBuffer();
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), rx.begin()));
}

TEST(ExchangeThread, WriteThenFileCommandThenFirmware) {
    ThreadRig rig;
    const Bytes listFiles = test::Closed({0x14, 0x01, 0x00, 0x06, 0x20});
    const std::vector<Bytes> blocks = {Block(50, 1), Block(50, 2), Block(46, 3)};
    Bytes image;
    for (const Bytes& b : blocks)
        image.insert(image.end(), b.begin(), b.end());
    // The device answers every exchange in turn; the counts are its running totals.
    const std::size_t afterWrite = test::kWriteFrame26.size();
    const std::size_t afterList = afterWrite + listFiles.size();
    PeerThread device(rig.pty, {{afterWrite, 0, test::ShortReply(26, 6)},
                                {afterList, 0, test::LongReply(32, 20)},
                                {afterList + 52, 0, {0x11}},
                                {afterList + 104, 0, {0x11}},
                                {afterList + 152, 0, {0x11}}});

    auto tx = rig.link.TransmitBuffer();
    std::copy(test::kWriteFrame26.begin(), test::kWriteFrame26.end(), tx.begin());
    ASSERT_TRUE(rig.link.StartExchange(ExchangeMode::Write, rig.target, 19));
    ASSERT_TRUE(rig.Finish());
    EXPECT_EQ(rig.target->codes(), (Codes{2, 3, 1}));

    rig.target = std::make_shared<RecordingTarget>();
    std::copy(listFiles.begin(), listFiles.end(), tx.begin());
    ASSERT_TRUE(rig.link.StartExchange(ExchangeMode::FileCommand, rig.target, 6));
    ASSERT_TRUE(rig.Finish());
    EXPECT_EQ(rig.target->codes(), (Codes{2, 3, 4}));

    rig.target = std::make_shared<RecordingTarget>();
    std::copy(image.begin(), image.end(), tx.begin());
    ASSERT_TRUE(rig.link.StartExchange(ExchangeMode::Firmware, rig.target, 152));
    ASSERT_TRUE(rig.Finish());
    using Entry = RecordingTarget::Entry;
    EXPECT_EQ(rig.target->entries(),
              (std::vector<Entry>{{ExchangeReport::PortOpened, 0, false},
                                  {ExchangeReport::FirmwareProgress, 0, true},
                                  {ExchangeReport::FirmwareProgress, 34, true}, // 52 of 152
                                  {ExchangeReport::FirmwareProgress, 68, true},
                                  {ExchangeReport::FirmwareProgress, 100, false}}));
    Bytes expected = test::kWriteFrame26;
    expected.insert(expected.end(), listFiles.begin(), listFiles.end());
    expected.insert(expected.end(), image.begin(), image.end());
    EXPECT_EQ(device.fromHost(), expected);
}

TEST(ExchangeThread, AListenerTakesWhatPassesWhileATransferRuns) {
    ThreadRig rig;
    constexpr int kBlocks = 40;
    Bytes image;
    std::vector<PeerStep> script;
    for (int i = 0; i < kBlocks; ++i) {
        const Bytes block = Block(30, static_cast<std::uint8_t>(i));
        image.insert(image.end(), block.begin(), block.end());
        script.push_back({image.size(), 0, {0x11}});
    }
    PeerThread device(rig.pty, script);
    std::copy(image.begin(), image.end(), rig.link.TransmitBuffer().begin());
    rig.link.tap.Listen(true);

    // The listener takes on its own thread, as the window does on the user-interface thread.
    std::atomic<bool> done{false};
    FrameDecoder decoder;
    std::vector<TraceRow> rows;
    std::thread listener([&] {
        while (!done) {
            decoder.Feed(rig.link.tap.Take(), rows);
            std::this_thread::sleep_for(1ms);
        }
        decoder.Feed(rig.link.tap.Take(), rows);
    });
    ASSERT_TRUE(
        rig.link.StartExchange(ExchangeMode::Firmware, rig.target, static_cast<int>(image.size())));
    const bool finished = rig.Finish();
    done = true;
    listener.join();
    ASSERT_TRUE(finished);
    ASSERT_EQ(rows.size(), 2u * kBlocks);
    EXPECT_EQ(rows.back().kind, RowKind::LoaderAnswer);
    EXPECT_EQ(DescribeRow(rows[2 * kBlocks - 2]), "блок прошивки 40 из 40");
}

TEST(ExchangeThread, ASecondStartIsRefusedWhileOneRuns) {
    ThreadRig rig;
    PeerThread device(rig.pty, {}); // silent: the read waits its 10 s
    ASSERT_TRUE(rig.link.StartExchange(ExchangeMode::Read, rig.target));
    auto other = std::make_shared<RecordingTarget>();
    EXPECT_FALSE(rig.link.StartExchange(ExchangeMode::Write, other, 19));
    EXPECT_TRUE(rig.link.ExchangeRunning());

    const auto start = SteadyClock::now();
    rig.link.StopExchange();
    EXPECT_LT(SteadyClock::now() - start, 2s);
    EXPECT_FALSE(rig.link.ExchangeRunning());
    EXPECT_TRUE(rig.target->abandoned());
    EXPECT_TRUE(other->entries().empty());
    EXPECT_FALSE(rig.link.port.Connected());
    // No report of the stopped exchange after it was stopped.
    const auto codes = rig.target->codes();
    EXPECT_TRUE(std::find(codes.begin(), codes.end(), 7) == codes.end());

    // The next exchange starts normally.
    rig.target = std::make_shared<RecordingTarget>();
    ASSERT_TRUE(rig.link.StartExchange(ExchangeMode::Firmware, rig.target, 0));
    ASSERT_TRUE(rig.Finish());
    EXPECT_EQ(rig.target->codes(), (Codes{2, 5}));
}

TEST(ExchangeThread, StoppingReleasesAThreadBlockedInAReport) {
    ThreadRig rig;
    // A window that never gets round to handling the report, as at program exit.
    rig.target->onReport = [t = rig.target.get()](const RecordingTarget::Entry&) {
        while (!t->abandoned())
            std::this_thread::sleep_for(1ms);
    };
    ASSERT_TRUE(rig.link.StartExchange(ExchangeMode::Read, rig.target));
    std::this_thread::sleep_for(50ms);
    rig.link.StopExchange();
    EXPECT_FALSE(rig.link.ExchangeRunning());
}

TEST(ExchangeThread, TheModuleCanBeDestroyedWhileAnExchangeRuns) {
    PtyPair pty;
    ThreadPollTimer timer;
    auto target = std::make_shared<RecordingTarget>();
    {
        LinkModule link(timer);
        link.port.SetPortName(pty.slavePath());
        ASSERT_TRUE(link.StartExchange(ExchangeMode::Read, target));
        std::this_thread::sleep_for(30ms);
    }
    EXPECT_TRUE(target->abandoned());
    // The port is closed and unlocked: another configurator can open it.
    test::ManualPollTimer t2;
    SerialPort again(t2);
    again.SetPortName(pty.slavePath());
    EXPECT_TRUE(again.Connect());
}

TEST(ExchangeThread, ReadOfA64ByteReplyTakesAboutOnePoll) {
    ThreadRig rig;
    const Bytes reply = test::ShortReply(30, 64);
    std::vector<double> ms;
    for (int i = 0; i < 7; ++i) {
        PeerThread device(rig.pty, {{10, 0, reply}});
        rig.target = std::make_shared<RecordingTarget>();
        const auto start = SteadyClock::now();
        ASSERT_TRUE(rig.link.StartExchange(ExchangeMode::Read, rig.target));
        ASSERT_TRUE(rig.Finish());
        ms.push_back(std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count());
        ASSERT_EQ(rig.target->codes(), (Codes{2, 3, 0})) << i;
    }
    std::sort(ms.begin(), ms.end());
    std::cout << "read exchange, 64-byte reply: median " << ms[3] << " ms (min " << ms.front()
              << ", max " << ms.back() << ")\n";
    // The poll (100 ms) and the reply wait's step (50 ms) bound it; far below the 10 s wait.
    EXPECT_LT(ms[3], 1500.0);
}

} // namespace
} // namespace tesmira
