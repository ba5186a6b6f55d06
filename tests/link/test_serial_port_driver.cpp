// The serial driver over a scripted backend: properties, the order of its platform calls, sends
// against a full queue and the poll's reads.
#include "link/SerialPort.h"
#include "support/LinkFakes.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>

namespace tesmira {
namespace {

using test::Bytes;
using test::FakeSerialBackend;
using test::ManualPollTimer;
using test::VirtualClock;
using Calls = std::vector<std::string>;

struct DriverRig {
    VirtualClock clock;
    ManualPollTimer timer{&clock};
    FakeSerialBackend* fake = nullptr;
    std::unique_ptr<SerialPort> port;
    std::vector<Bytes> chunks;

    DriverRig() {
        auto backend = std::make_unique<FakeSerialBackend>();
        fake = backend.get();
        port = std::make_unique<SerialPort>(timer, clock, std::move(backend));
        port->SetReceiveHandler([this](SerialPort&, const std::uint8_t* d, std::size_t n) {
            chunks.emplace_back(d, d + n);
        });
    }
    void OpenAndForget() {
        ASSERT_TRUE(port->Connect());
        fake->calls.clear();
        fake->lines.clear();
    }
};

TEST(SerialPortDefaults, AsCreated) {
    DriverRig rig;
    SerialPort& p = *rig.port;
    EXPECT_EQ(p.Port(), PortNumber::Com2);
    EXPECT_EQ(p.PortName(), "\\\\.\\COM2");
    EXPECT_EQ(p.BaudRate(), StandardBaud::Baud9600);
    EXPECT_EQ(p.BaudRateValue(), 9600u);
    EXPECT_EQ(p.DataBits(), CharSize::Eight);
    EXPECT_EQ(p.StopBits(), StopBitCount::One);
    EXPECT_EQ(p.Parity(), ParityMode::None);
    EXPECT_EQ(p.HardwareFlow(), HardwareFlowMode::RtsOn);
    EXPECT_EQ(p.SoftwareFlow(), SoftwareFlowMode::None);
    EXPECT_EQ(p.InputQueueSize(), 2048u);
    EXPECT_EQ(p.OutputQueueSize(), 2048u);
    EXPECT_EQ(p.PollPeriodMs(), 50);
    EXPECT_TRUE(p.DtrOnOpen());
    EXPECT_EQ(p.OutputTimeout(), 500);
    EXPECT_FALSE(p.CheckModemLines());
    EXPECT_FALSE(p.Connected());
}

TEST(SerialPortDefaults, DefaultLineRaisesDtrAndRts) {
    DriverRig rig;
    ASSERT_TRUE(rig.port->Connect());
    ASSERT_EQ(rig.fake->lines.size(), 1u);
    const LineSettings& s = rig.fake->lines[0];
    EXPECT_EQ(s.baudRate, 9600u);
    EXPECT_EQ(s.byteSize, 8);
    EXPECT_TRUE(s.dtrOn);
    EXPECT_EQ(s.rts, LineSettings::Rts::On);
    EXPECT_EQ(s.xonLimit, 512); // InputQueueSize / 4
    EXPECT_EQ(s.xoffLimit, 512);
}

TEST(SerialPortSetters, PollPeriodBelowFiveBecomesFive) {
    DriverRig rig;
    for (std::uint16_t ms : {0, 1, 4}) {
        rig.port->SetPollPeriodMs(ms);
        EXPECT_EQ(rig.port->PollPeriodMs(), 5) << ms;
    }
    rig.port->SetPollPeriodMs(5);
    EXPECT_EQ(rig.port->PollPeriodMs(), 5);
    rig.port->SetPollPeriodMs(65535);
    EXPECT_EQ(rig.port->PollPeriodMs(), 65535);
    EXPECT_EQ(rig.timer.starts(), 0); // closed: no timer is touched
}

TEST(SerialPortSetters, PollPeriodRestartsTheTimerWhileOpen) {
    DriverRig rig;
    rig.port->SetPollPeriodMs(100);
    ASSERT_TRUE(rig.port->Connect());
    EXPECT_EQ(rig.timer.period(), 100);
    rig.port->SetPollPeriodMs(3);
    EXPECT_EQ(rig.timer.starts(), 2);
    EXPECT_EQ(rig.timer.period(), 5);
    EXPECT_TRUE(rig.timer.active());
}

TEST(SerialPortSetters, BufferSizesAreClamped) {
    DriverRig rig;
    const std::pair<std::uint32_t, std::uint32_t> rows[] = {
        {100, 128},   {0, 128},     {127, 128},    {128, 128},        {1024, 1024},
        {8192, 8192}, {8193, 8192}, {10000, 8192}, {0xFFFFFFFF, 8192}};
    for (auto [in, out] : rows) {
        rig.port->SetInputQueueSize(in);
        rig.port->SetOutputQueueSize(in);
        EXPECT_EQ(rig.port->InputQueueSize(), out) << in;
        EXPECT_EQ(rig.port->OutputQueueSize(), out) << in;
    }
}

TEST(SerialPortSetters, BufferSizesAndNamesAreIgnoredWhileOpen) {
    DriverRig rig;
    rig.port->SetPortName("/dev/ttyUSB0");
    rig.port->SetInputQueueSize(1024);
    rig.port->SetOutputQueueSize(1024);
    ASSERT_TRUE(rig.port->Connect());
    rig.port->SetPortName("/dev/ttyUSB1");
    rig.port->SetPort(PortNumber::Com5);
    rig.port->SetInputQueueSize(4096);
    rig.port->SetOutputQueueSize(4096);
    EXPECT_EQ(rig.port->PortName(), "/dev/ttyUSB0");
    EXPECT_EQ(rig.port->Port(), PortNumber::Custom);
    EXPECT_EQ(rig.port->InputQueueSize(), 1024u);
    EXPECT_EQ(rig.port->OutputQueueSize(), 1024u);
    rig.port->Disconnect();
    rig.port->SetPortName("/dev/ttyUSB1");
    EXPECT_EQ(rig.port->PortName(), "/dev/ttyUSB1");
}

TEST(SerialPortSetters, PortNumberSetsTheComPath) {
    DriverRig rig;
    rig.port->SetPort(PortNumber::Com3);
    EXPECT_EQ(rig.port->PortName(), "\\\\.\\COM3");
    rig.port->SetPort(PortNumber::Com16);
    EXPECT_EQ(rig.port->PortName(), "\\\\.\\COM16");
    rig.port->SetPort(PortNumber::Custom); // keeps the name
    EXPECT_EQ(rig.port->PortName(), "\\\\.\\COM16");
    rig.port->SetPort(PortNumber::Com1);
    rig.port->SetPortName("/dev/pts/7");
    EXPECT_EQ(rig.port->Port(), PortNumber::Custom);
    ASSERT_TRUE(rig.port->Connect());
    EXPECT_EQ(rig.fake->openedPath, "/dev/pts/7");
}

TEST(SerialPortSetters, BaudRateAndBaudRateValue) {
    DriverRig rig;
    rig.port->SetBaudRateValue(115200);
    EXPECT_EQ(rig.port->BaudRate(), StandardBaud::Custom);
    EXPECT_EQ(rig.port->BaudRateValue(), 115200u);
    rig.port->SetBaudRate(StandardBaud::Baud57600);
    EXPECT_EQ(rig.port->BaudRateValue(), 57600u);
    rig.port->SetBaudRate(StandardBaud::Custom); // the value stays
    EXPECT_EQ(rig.port->BaudRateValue(), 57600u);
    rig.port->SetBaudRateValue(9600); // a table rate given as a value is still custom
    EXPECT_EQ(rig.port->BaudRate(), StandardBaud::Custom);

    const std::uint32_t table[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                   14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(BitsPerSecond(static_cast<StandardBaud>(i)), table[i]) << i;
}

TEST(SerialPortSetters, LineSettersReapplyWhileOpen) {
    DriverRig rig;
    rig.OpenAndForget();
    rig.port->SetBaudRateValue(115200);
    EXPECT_EQ(rig.fake->calls, (Calls{"SetLine", "PurgeInOut", "SetQueueSizes"}));
    ASSERT_EQ(rig.fake->lines.size(), 1u);
    EXPECT_EQ(rig.fake->lines.back().baudRate, 115200u);

    rig.port->SetParity(ParityMode::Space);
    rig.port->SetStopBits(StopBitCount::Two);
    rig.port->SetDataBits(CharSize::Seven);
    rig.port->SetHardwareFlow(HardwareFlowMode::RtsCts);
    rig.port->SetSoftwareFlow(SoftwareFlowMode::XonXoff);
    rig.port->SetBaudRate(StandardBaud::Baud1200);
    ASSERT_EQ(rig.fake->lines.size(), 7u);
    const LineSettings& s = rig.fake->lines.back();
    EXPECT_EQ(s.parity, 4);
    EXPECT_EQ(s.stopBits, 2);
    EXPECT_EQ(s.byteSize, 7);
    EXPECT_EQ(s.rts, LineSettings::Rts::Handshake);
    EXPECT_TRUE(s.xonXoff);
    EXPECT_EQ(s.xonChar, 0x11);
    EXPECT_EQ(s.xoffChar, 0x13);
    EXPECT_EQ(s.baudRate, 1200u);

    rig.port->Disconnect();
    rig.fake->lines.clear();
    rig.port->SetBaudRateValue(9600); // closed: stored only
    EXPECT_TRUE(rig.fake->lines.empty());
}

TEST(SerialPortConnect, CallsInOrderAndStartsThePoll) {
    DriverRig rig;
    rig.port->SetPortName("/dev/ttyUSB0");
    rig.port->SetPollPeriodMs(100);
    rig.port->SetHardwareFlow(HardwareFlowMode::None);
    rig.port->SetDtrOnOpen(false);
    rig.port->SetInputQueueSize(1024);
    ASSERT_TRUE(rig.port->Connect());
    EXPECT_EQ(rig.fake->calls,
              (Calls{"Open", "SetLine", "PurgeInOut", "SetQueueSizes", "SetTimeouts"}));
    EXPECT_TRUE(rig.port->Connected());
    EXPECT_TRUE(rig.timer.active());
    EXPECT_EQ(rig.timer.period(), 100);
    const LineSettings& s = rig.fake->lines.at(0);
    EXPECT_FALSE(s.dtrOn);
    EXPECT_EQ(s.rts, LineSettings::Rts::Off);
    EXPECT_FALSE(s.xonXoff);
    EXPECT_EQ(s.xonLimit, 256);

    // Already open: true, and nothing is applied again.
    rig.fake->calls.clear();
    EXPECT_TRUE(rig.port->Connect());
    EXPECT_TRUE(rig.fake->calls.empty());
    EXPECT_EQ(rig.timer.starts(), 1);
}

TEST(SerialPortConnect, ARefusalAtAnyStepClosesThePortAgain) {
    for (int step = 0; step < 3; ++step) {
        DriverRig rig;
        rig.fake->setLineOk = step != 0;
        rig.fake->purgeOk = step != 1;
        rig.fake->queueSizesOk = step != 2;
        EXPECT_FALSE(rig.port->Connect()) << step;
        EXPECT_FALSE(rig.port->Connected());
        EXPECT_FALSE(rig.fake->open);
        EXPECT_EQ(rig.fake->calls.back(), "Close");
        EXPECT_EQ(rig.timer.starts(), 0);
    }
    DriverRig rig;
    rig.fake->openOk = false;
    EXPECT_FALSE(rig.port->Connect());
    EXPECT_EQ(rig.fake->calls, (Calls{"Open"}));
    EXPECT_FALSE(rig.port->ApplySettings()); // only while open
}

TEST(SerialPortConnect, DisconnectStopsThePollAndClosesOnce) {
    DriverRig rig;
    EXPECT_FALSE(rig.port->Disconnect());
    EXPECT_EQ(rig.timer.stops(), 0);
    rig.OpenAndForget();
    EXPECT_TRUE(rig.port->Disconnect());
    EXPECT_FALSE(rig.timer.active());
    // Output still queued is thrown away first: a close must not wait for it to drain.
    EXPECT_EQ(rig.fake->calls, (Calls{"PurgeInOut", "Close"}));
    EXPECT_FALSE(rig.port->Disconnect());
    EXPECT_EQ(rig.fake->calls, (Calls{"PurgeInOut", "Close"}));
    EXPECT_FALSE(rig.port->FlushBuffers(true, true));
}

TEST(SerialPortSend, NothingToSendOrClosedPortWritesNothing) {
    DriverRig rig;
    const Bytes frame = {1, 2, 3};
    EXPECT_EQ(rig.port->SendData(frame.data(), frame.size()), 0u); // closed
    rig.OpenAndForget();
    EXPECT_EQ(rig.port->SendData(frame.data(), 0), 0u);
    EXPECT_TRUE(rig.fake->calls.empty());
    EXPECT_EQ(rig.port->SendData(frame.data(), frame.size()), 3u);
    EXPECT_EQ(rig.fake->written, frame);
}

TEST(SerialPortSend, FullOutputQueueReturnsAfterTheTimeOutWithAShortCount) {
    DriverRig rig;
    rig.port->SetOutputQueueSize(1024);
    rig.port->SetOutputTimeout(100);
    rig.OpenAndForget();
    Bytes block(1000);
    std::iota(block.begin(), block.end(), 0);
    rig.fake->writeRoom = 300; // then the queue stays full
    const std::uint64_t start = rig.clock.NowMs();
    EXPECT_EQ(rig.port->SendData(block.data(), block.size()), 300u);
    const std::uint64_t took = rig.clock.NowMs() - start;
    EXPECT_GT(took, 100u);
    EXPECT_LE(took, 102u);
    EXPECT_EQ(rig.fake->written, Bytes(block.begin(), block.begin() + 300));

    // A queue the driver reports as full is not written to at all.
    rig.fake->calls.clear();
    rig.fake->outputQueued = 1024;
    rig.fake->writeRoom = SIZE_MAX;
    EXPECT_EQ(rig.port->SendData(block.data(), block.size(), 40), 0u);
    EXPECT_TRUE(rig.fake->calls.empty());
    EXPECT_EQ(rig.port->OutputRoom(), 0);
}

// The time-out runs from the last progress, not from the start, so a line that drains slowly but
// steadily gets the whole block out; a cancel ends even such a send at its next step, and sends
// stay refused until the port is opened again.
TEST(SerialPortSend, ASlowButMovingLineGetsAllOutUntilSendsAreCancelled) {
    DriverRig rig;
    rig.port->SetOutputTimeout(100);
    rig.OpenAndForget();
    const Bytes block(1000, 0x5A);
    rig.fake->writeRoom = 0;
    std::uint64_t cancelAt = UINT64_MAX;
    rig.clock.onSleep = [&] {
        rig.fake->writeRoom += 2; // two bytes a virtual millisecond
        if (rig.clock.NowMs() >= cancelAt)
            rig.port->CancelSends();
    };
    std::uint64_t start = rig.clock.NowMs();
    EXPECT_EQ(rig.port->SendData(block.data(), block.size()), 1000u);
    EXPECT_GE(rig.clock.NowMs() - start, 499u);

    start = rig.clock.NowMs();
    cancelAt = start + 50;
    const std::size_t sent = rig.port->SendData(block.data(), block.size());
    EXPECT_LE(sent, 102u);
    EXPECT_LE(rig.clock.NowMs() - start, 51u);
    EXPECT_EQ(rig.port->SendData(block.data(), block.size()), 0u);
    cancelAt = UINT64_MAX;
    rig.port->Disconnect();
    ASSERT_TRUE(rig.port->Connect());
    rig.fake->writeRoom = SIZE_MAX;
    EXPECT_EQ(rig.port->SendData(block.data(), 10), 10u);
}

TEST(SerialPortSend, WritesNoMoreThanTheQueueHasRoomFor) {
    DriverRig rig;
    rig.port->SetOutputQueueSize(1024);
    rig.OpenAndForget();
    rig.fake->outputQueued = 1000; // 24 bytes of room each time
    Bytes block(100, 0x5A);
    EXPECT_EQ(rig.port->SendData(block.data(), block.size()), 100u);
    EXPECT_EQ(rig.fake->calls.size(), 5u); // 24 + 24 + 24 + 24 + 4
    EXPECT_EQ(rig.port->OutputRoom(), 24);
}

TEST(SerialPortSend, AFailedLineEndsTheSendAtOnce) {
    DriverRig rig;
    rig.OpenAndForget();
    rig.fake->writeFails = true;
    Bytes block(10, 1);
    const std::uint64_t start = rig.clock.NowMs();
    EXPECT_EQ(rig.port->SendData(block.data(), block.size()), 0u);
    EXPECT_EQ(rig.clock.NowMs(), start);
    EXPECT_TRUE(rig.port->LineFailed());
    rig.fake->writeFails = false;
    EXPECT_EQ(rig.port->SendData(block.data(), block.size()), 0u); // stays failed
    rig.port->Disconnect();
    ASSERT_TRUE(rig.port->Connect());
    EXPECT_FALSE(rig.port->LineFailed());
    EXPECT_EQ(rig.port->SendData(block.data(), block.size()), 10u);
}

TEST(SerialPortSend, LineStatusCheckStopsASendWithoutModemLines) {
    DriverRig rig;
    rig.port->SetCheckModemLines(true);
    rig.OpenAndForget();
    Bytes block(10, 1);
    EXPECT_EQ(rig.port->SendData(block.data(), block.size()), 0u);
    rig.fake->modemLines.dsr = true;
    EXPECT_EQ(rig.port->SendData(block.data(), block.size()), 10u);
}

TEST(SerialPortStatus, FreeSpaceAndLineStatus) {
    DriverRig rig;
    EXPECT_EQ(rig.port->OutputRoom(), -1);
    EXPECT_TRUE(rig.port->ModemLineStatus().empty());
    rig.port->SetOutputQueueSize(1024);
    rig.OpenAndForget();
    rig.fake->outputQueued = 100;
    EXPECT_EQ(rig.port->OutputRoom(), 924);
    rig.fake->modemLines = {.cts = true, .dsr = false, .ring = true, .cd = false};
    EXPECT_EQ(rig.port->ModemLineStatus(), (ModemLines{true, false, true, false}));
    rig.fake->hasModemLines = false;
    EXPECT_TRUE(rig.port->ModemLineStatus().empty());
}

TEST(SerialPortPoll, ABacklogLargerThanTheBufferIsTakenInSeveralReads) {
    DriverRig rig;
    rig.port->SetInputQueueSize(1024);
    rig.OpenAndForget();
    Bytes backlog(5000);
    for (std::size_t i = 0; i < backlog.size(); ++i)
        backlog[i] = static_cast<std::uint8_t>(i * 7);
    rig.fake->input.assign(backlog.begin(), backlog.end());
    ASSERT_TRUE(rig.timer.Fire());
    EXPECT_EQ(rig.fake->readSizes, (std::vector<std::size_t>{1024, 1024, 1024, 1024, 904}));
    Bytes joined;
    for (const Bytes& c : rig.chunks)
        joined.insert(joined.end(), c.begin(), c.end());
    EXPECT_EQ(joined, backlog);
    EXPECT_EQ(rig.chunks.size(), 5u);

    rig.chunks.clear();
    rig.timer.Fire(); // nothing waits: no read, no call
    EXPECT_TRUE(rig.chunks.empty());
    EXPECT_EQ(rig.fake->readSizes.size(), 5u);
}

TEST(SerialPortPoll, NothingIsReadWhileClosed) {
    DriverRig rig;
    rig.fake->input.assign(10, 0xAA);
    rig.port->Poll();
    EXPECT_TRUE(rig.fake->readSizes.empty());
    rig.OpenAndForget();
    rig.fake->input.assign(10, 0xAA); // the open flushed the input
    rig.port->Disconnect();
    rig.port->Poll();
    EXPECT_TRUE(rig.chunks.empty());
}

TEST(SerialPortPoll, AFailedLineStopsThePollUntilTheNextOpen) {
    DriverRig rig;
    rig.OpenAndForget();
    rig.fake->input.assign(10, 0xAA);
    rig.fake->countsOk = false;
    rig.port->Poll();
    EXPECT_TRUE(rig.port->LineFailed());
    rig.fake->countsOk = true;
    rig.port->Poll();
    EXPECT_TRUE(rig.fake->readSizes.empty());
    rig.port->Disconnect();
    ASSERT_TRUE(rig.port->Connect());
    rig.fake->input.assign(3, 0xAA);
    rig.port->Poll();
    EXPECT_EQ(rig.chunks, (std::vector<Bytes>{{0xAA, 0xAA, 0xAA}}));
}

TEST(SerialPortPoll, AHandlerThatClosesThePortEndsThePoll) {
    DriverRig rig;
    rig.port->SetInputQueueSize(128);
    rig.OpenAndForget();
    int calls = 0;
    rig.port->SetReceiveHandler([&](SerialPort& sender, const std::uint8_t*, std::size_t) {
        ++calls;
        sender.Poll(); // nested: skipped
        sender.Disconnect();
    });
    rig.fake->input.assign(1000, 0x01);
    rig.port->Poll();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(rig.fake->readSizes, (std::vector<std::size_t>{128}));
    EXPECT_FALSE(rig.port->Connected());
}

} // namespace
} // namespace tesmira
