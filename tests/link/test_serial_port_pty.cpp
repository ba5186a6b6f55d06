// The serial driver with its termios backend over a real pseudo-terminal.
#include "link/SerialPort.h"
#include "support/LinkFakes.h"
#include "support/PtyPair.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <grp.h>
#include <mutex>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tesmira {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::ManualPollTimer;
using test::PtyPair;

// Collects what OnReceiveData gets, from whatever thread the poll runs on.
struct Received {
    std::mutex mutex;
    Bytes bytes;
    std::vector<std::size_t> chunkSizes;

    void Attach(SerialPort& port) {
        port.SetReceiveHandler([this](SerialPort&, const std::uint8_t* d, std::size_t n) {
            std::lock_guard lock(mutex);
            bytes.insert(bytes.end(), d, d + n);
            chunkSizes.push_back(n);
        });
    }
    std::size_t size() {
        std::lock_guard lock(mutex);
        return bytes.size();
    }
    bool WaitFor(std::size_t count, std::chrono::milliseconds limit = 5s) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (size() < count && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(2ms);
        return size() >= count;
    }
};

// The link module's settings: 8N1, no flow control, DTR and RTS off.
void ConfigureLikeTheModule(SerialPort& port, const std::string& path) {
    port.SetPortName(path);
    port.SetBaudRateValue(9600);
    port.SetHardwareFlow(HardwareFlowMode::None);
    port.SetDtrOnOpen(false);
    port.SetInputQueueSize(1024);
    port.SetOutputQueueSize(1024);
    port.SetPollPeriodMs(5);
    port.SetOutputTimeout(100);
}

// A driver set up like the module's on the slave of a fresh pseudo-terminal.
template <typename Timer> struct PtyPort {
    PtyPair pty;
    Timer timer;
    test::VirtualClock clock; // a send's waits show as virtual time
    SerialPort port{timer, clock};
    Received got;

    PtyPort() {
        ConfigureLikeTheModule(port, pty.slavePath());
        got.Attach(port);
    }
};

Bytes Pattern(std::size_t n, unsigned seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>((i * 31 + seed) ^ (i >> 8));
    return b;
}

TEST(SerialPortPty, TheDeviceSeesARaw8N1LineAtTheChosenSpeed) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    pty.SpoilLine();
    ASSERT_EQ(pty.Line().speed, 2400u);
    ManualPollTimer timer;
    SerialPort port(timer);
    ConfigureLikeTheModule(port, pty.slavePath());
    ASSERT_TRUE(port.Connect());
    test::LineView line = pty.Line();
    EXPECT_EQ(line.speed, 9600u);
    EXPECT_TRUE(line.raw);
    EXPECT_TRUE(line.eightBits);
    EXPECT_FALSE(line.parity);
    EXPECT_FALSE(line.twoStopBits);
    EXPECT_FALSE(line.rtsCts);
    EXPECT_FALSE(line.xonXoff);
    EXPECT_TRUE(line.localAndRead);

    port.SetBaudRateValue(115200); // takes effect on the open port at once
    EXPECT_EQ(pty.Line().speed, 115200u);
    port.SetBaudRate(StandardBaud::Baud57600);
    EXPECT_EQ(pty.Line().speed, 57600u);
}

TEST(SerialPortPty, APortWithoutModemLinesStillOpens) {
    // A pseudo-terminal answers ENOTTY to every modem-line request.
    PtyPair pty;
    ManualPollTimer timer;
    SerialPort port(timer);
    port.SetPortName(pty.slavePath());
    port.SetDtrOnOpen(true); // the defaults switch DTR and RTS on
    ASSERT_TRUE(port.Connect());
    EXPECT_TRUE(port.ModemLineStatus().empty());
    port.Disconnect();
    port.SetDtrOnOpen(false);
    port.SetHardwareFlow(HardwareFlowMode::None);
    EXPECT_TRUE(port.Connect());
}

TEST(SerialPortPty, ParityAndSevenBitsThatAPtyDropsDoNotFailTheOpen) {
    PtyPort<ManualPollTimer> rig;
    auto& [pty, timer, clock, port, got] = rig;
    port.SetParity(ParityMode::Even);
    port.SetDataBits(CharSize::Seven);
    // A pseudo-terminal accepts them and keeps neither; the driver does not ask it back.
    ASSERT_TRUE(port.Connect());
    EXPECT_EQ(pty.Line().speed, 9600u);
}

TEST(SerialPortPty, SettingsTermiosCannotMakeAreRefusedAndTheOpenUndone) {
    PtyPort<ManualPollTimer> rig;
    auto& [pty, timer, clock, port, got] = rig;
    port.SetBaudRate(StandardBaud::Baud14400);
    EXPECT_FALSE(port.Connect());
    EXPECT_FALSE(port.Connected());
    port.SetBaudRate(StandardBaud::Baud9600);
    port.SetStopBits(StopBitCount::OneAndHalf);
    EXPECT_FALSE(port.Connect());
    port.SetStopBits(StopBitCount::One);
    EXPECT_TRUE(port.Connect()); // nothing was left open or locked
}

// The result of `attempt` as an ordinary user gets it: root opens any device whatever its mode,
// so under root it runs in a child that gives up root's rights first (-1: that failed).
int WithoutRootRights(const std::function<int()>& attempt) {
    if (::geteuid() != 0)
        return attempt();
    const pid_t child = ::fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        const bool dropped =
            ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
        ::_exit(dropped ? attempt() : 255);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

TEST(SerialPortPty, OpeningAMissingPortFails) {
    ManualPollTimer timer;
    SerialPort port(timer);
    const std::pair<const char*, OpenFailure> cases[] = {
        {"/dev/tesmira-no-such-port", OpenFailure::NotFound},
        {"", OpenFailure::Other},
        {"/dev/null", OpenFailure::Other}, // no tty
    };
    for (const auto& [path, failure] : cases) {
        port.SetPortName(path);
        EXPECT_FALSE(port.Connect()) << path;
        EXPECT_EQ(port.LastOpenFailure(), failure) << path;
    }
    EXPECT_EQ(timer.starts(), 0);
}

TEST(SerialPortPty, APortTheUserHasNoRightsToIsToldFromOtherFailures) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    ASSERT_EQ(::chmod(pty.slavePath().c_str(), 0), 0); // as a port of a group the user is not in
    ManualPollTimer timer;
    SerialPort port(timer);
    port.SetPortName(pty.slavePath());
    const int failedStep = WithoutRootRights([&port] {
        if (port.Connect() || port.LastOpenFailure() != OpenFailure::AccessDenied)
            return 1;
        port.SetPortName("/dev/tesmira-no-such-port"); // a later failure of another kind
        if (port.Connect() || port.LastOpenFailure() != OpenFailure::NotFound)
            return 2;
        return 0;
    });
    EXPECT_EQ(failedStep, 0);
}

TEST(SerialPortPty, ASecondConfiguratorCannotShareThePort) {
    // TIOCEXCL does not stop root; the advisory lock does.
    PtyPair pty;
    ManualPollTimer timerA, timerB;
    SerialPort a(timerA), b(timerB);
    ConfigureLikeTheModule(a, pty.slavePath());
    ConfigureLikeTheModule(b, pty.slavePath());
    ASSERT_TRUE(a.Connect());
    EXPECT_FALSE(b.Connect());
    EXPECT_EQ(b.LastOpenFailure(), OpenFailure::Busy);
    a.Disconnect();
    EXPECT_TRUE(b.Connect());
}

TEST(SerialPortPty, SendingReachesTheDeviceWhole) {
    PtyPort<ManualPollTimer> rig;
    auto& [pty, timer, clock, port, got] = rig;
    const Bytes frame = Pattern(300, 7);
    EXPECT_EQ(port.SendData(frame.data(), frame.size()), 0u); // closed
    ASSERT_TRUE(port.Connect());
    EXPECT_EQ(port.SendData(frame.data(), frame.size()), frame.size());
    EXPECT_EQ(pty.Read(frame.size(), 5s), frame);
    EXPECT_EQ(port.OutputRoom(), 1024);
}

TEST(SerialPortPty, DribblesAndBurstsArriveOnceAndInOrder) {
    PtyPort<ThreadPollTimer> rig;
    auto& [pty, timer, clock, port, got] = rig;
    ASSERT_TRUE(port.Connect());

    Bytes sent;
    const Bytes dribble = Pattern(60, 1);
    for (std::uint8_t b : dribble) {
        pty.Write({b});
        sent.push_back(b);
        std::this_thread::sleep_for(1ms);
    }
    const Bytes burst = Pattern(5000, 2); // more than the 1024-byte input buffer
    pty.Write(burst);
    sent.insert(sent.end(), burst.begin(), burst.end());
    for (int i = 0; i < 5; ++i) {
        const Bytes small = Pattern(3, 10 + i);
        pty.Write(small);
        sent.insert(sent.end(), small.begin(), small.end());
        std::this_thread::sleep_for(12ms);
    }
    ASSERT_TRUE(got.WaitFor(sent.size()));
    std::this_thread::sleep_for(50ms); // room for a doubled chunk to show
    port.Disconnect();
    std::lock_guard lock(got.mutex);
    EXPECT_EQ(got.bytes, sent);
    for (std::size_t n : got.chunkSizes)
        EXPECT_LE(n, 1024u);
    EXPECT_GT(got.chunkSizes.size(), 5u);
}

TEST(SerialPortPty, AClosedPortDeliversAndSendsNothing) {
    PtyPort<ManualPollTimer> rig;
    auto& [pty, timer, clock, port, got] = rig;
    ASSERT_TRUE(port.Connect());
    pty.Write({1, 2, 3});
    ASSERT_TRUE(port.Disconnect());
    port.Poll();
    timer.Fire();
    EXPECT_EQ(got.size(), 0u);
    const Bytes b = {4};
    EXPECT_EQ(port.SendData(b.data(), b.size()), 0u);
    EXPECT_EQ(port.OutputRoom(), -1);
}

TEST(SerialPortPty, FlushingDiscardsWhatWaits) {
    PtyPort<ManualPollTimer> rig;
    auto& [pty, timer, clock, port, got] = rig;
    ASSERT_TRUE(port.Connect());
    pty.Write({1, 2, 3});
    std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(port.FlushBuffers(true, true));
    port.Poll();
    EXPECT_EQ(got.size(), 0u);
    pty.Write({4});
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (got.size() == 0 && std::chrono::steady_clock::now() < end)
        port.Poll();
    std::lock_guard lock(got.mutex);
    EXPECT_EQ(got.bytes, Bytes{4});
}

TEST(SerialPortPty, ADeviceThatGoesAwayFailsTheLineInsteadOfSpinning) {
    PtyPort<ManualPollTimer> rig;
    auto& [pty, timer, clock, port, got] = rig;
    ASSERT_TRUE(port.Connect());
    pty.CloseMaster();
    port.Poll();
    EXPECT_TRUE(port.LineFailed());
    for (int i = 0; i < 100; ++i)
        port.Poll();
    EXPECT_EQ(got.size(), 0u);
    const Bytes frame(10, 0x7E);
    const std::uint64_t start = clock.NowMs();
    EXPECT_EQ(port.SendData(frame.data(), frame.size()), 0u);
    EXPECT_EQ(clock.NowMs(), start); // at once, not after the 100 ms time-out
    EXPECT_TRUE(port.Disconnect());
}

TEST(SerialPortPty, ASendToAVanishedDeviceFailsTheLine) {
    PtyPort<ManualPollTimer> rig;
    auto& [pty, timer, clock, port, got] = rig;
    ASSERT_TRUE(port.Connect());
    pty.CloseMaster();
    const Bytes frame(10, 0x7E);
    EXPECT_EQ(port.SendData(frame.data(), frame.size()), 0u);
    EXPECT_TRUE(port.LineFailed());
    EXPECT_EQ(clock.sleeps(), 0u);
}

TEST(SerialPortPty, NoChunkArrivesAfterDisconnectReturns) {
    PtyPort<ThreadPollTimer> rig;
    auto& [pty, timer, clock, port, got] = rig;
    std::atomic<bool> quit{false};
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(port.Connect());
        // By its member: clang 14 cannot capture a structured binding.
        std::thread device([&quit, &line = rig.pty] {
            while (!quit) {
                line.Write(Pattern(50, 3));
                std::this_thread::sleep_for(1ms);
            }
        });
        std::this_thread::sleep_for(15ms);
        port.Disconnect();
        const std::size_t atClose = got.size();
        std::this_thread::sleep_for(20ms);
        EXPECT_EQ(got.size(), atClose) << round;
        quit = true;
        device.join();
        quit = false;
        (void)pty.ReadAvailable();
    }
    EXPECT_GT(got.size(), 0u);
}

} // namespace
} // namespace tesmira
