// Link fakes: virtual clock, hand-fired timer, scripted backend, report recorder.
#pragma once

#include "link/Exchange.h"
#include "link/LinkClock.h"
#include "link/PollTimer.h"
#include "link/SerialBackend.h"
#include "link/ThreadPollTimer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace tesmira::test {

using Bytes = std::vector<std::uint8_t>;

// Time that moves only when somebody sleeps; each sleep then runs `onSleep` on the sleeper's
// thread (where a test plays the device and the poll).
class VirtualClock : public LinkClock {
public:
    std::uint64_t NowMs() override { return now_.load(); }
    void SleepMs(std::uint32_t ms) override;
    void Advance(std::uint64_t ms) { now_ += ms; }
    std::uint64_t sleeps() const { return sleeps_.load(); }

    std::function<void()> onSleep;
    // Each sleep lasts this many times what was asked, as on a loaded machine or with a coarse
    // system timer.
    std::uint32_t stretch = 1;

private:
    std::atomic<std::uint64_t> now_{1000}; // not 0, so a tick of 0 means nothing special
    std::atomic<std::uint64_t> sleeps_{0};
};

// Real time run `speedUp` times as fast: its milliseconds pass that much faster and its sleeps
// are that much shorter, so at ten times against a silent device the 10 s reply time-out takes
// about 1 s of real time. The link's waits end once the clock has moved on by all of their rounds,
// so a loaded machine whose short sleeps overrun still ends each wait in its share of the time.
// Where the platform cannot sleep less than a millisecond the sleeps still add up to their share
// of what was asked: each one sleeps until the share of all that was asked since the first.
class FastSleepClock : public LinkClock {
public:
    static constexpr int kSpeedUp = 10;
    // For a device that never answers, where no wait has to hold out for a reply: its 10 s then
    // take 0.2 s.
    static constexpr int kSilentSpeedUp = 50;

    explicit FastSleepClock(int speedUp = kSpeedUp) : speedUp_(speedUp) {}

    std::uint64_t NowMs() override;
    void SleepMs(std::uint32_t ms) override;

private:
    const int speedUp_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::mutex mutex_;
    std::chrono::steady_clock::time_point end_{}; // of the sleeps asked for so far
};

// A timer whose ticks the test fires itself.
class ManualPollTimer : public PollTimer {
public:
    explicit ManualPollTimer(LinkClock* clock = nullptr) : clock_(clock) {}

    void Start(std::uint16_t periodMs, std::function<void()> tick) override;
    void Stop() override;
    // Runs one tick when started; returns whether it ran.
    bool Fire();

    bool active() const;
    std::uint16_t period() const;
    int starts() const;
    int stops() const;
    std::uint64_t startedAt() const; // the clock's reading at the last Start

private:
    LinkClock* clock_;
    mutable std::mutex mutex_;
    bool active_ = false;
    std::uint16_t period_ = 0;
    int starts_ = 0;
    int stops_ = 0;
    std::uint64_t startedAt_ = 0;
    std::function<void()> tick_;
};

// A serial port that does what the test tells it and logs every call by name.
class FakeSerialBackend : public SerialBackend {
public:
    bool Open(const std::string& path) override;
    OpenFailure LastOpenFailure() const override { return openFailure; }
    void Close() override;
    bool SetLine(const LineSettings& settings) override;
    bool SetQueueSizes(std::uint32_t input, std::uint32_t output) override;
    void SetTimeouts() override;
    bool Purge(bool input, bool output) override;
    bool Counts(QueueCounts& counts) override;
    std::ptrdiff_t Read(std::uint8_t* data, std::size_t size) override;
    std::ptrdiff_t Write(const std::uint8_t* data, std::size_t size) override;
    bool ModemStatus(ModemLines& lines) override;

    // What the test sets.
    bool openOk = true;
    OpenFailure openFailure = OpenFailure::Other;
    bool setLineOk = true;
    bool purgeOk = true;
    bool queueSizesOk = true;
    bool countsOk = true;
    std::uint32_t outputQueued = 0;   // bytes the output queue reports waiting
    std::size_t writeRoom = SIZE_MAX; // bytes the next writes take in all
    bool writeFails = false;
    bool hasModemLines = true;
    ModemLines modemLines;
    std::deque<std::uint8_t> input; // bytes waiting to be read
    std::function<void()> onClose;  // runs inside Close

    // What the driver did.
    std::vector<std::string> calls;
    std::string openedPath;
    std::vector<LineSettings> lines; // every SetLine
    std::vector<std::size_t> readSizes;
    Bytes written;
    // The size of `written`, safe to watch from another thread while the exchange writes.
    std::atomic<std::size_t> writtenCount{0};
    bool open = false;
};

// Records reports; a test thread can wait for the final one.
class RecordingTarget : public ExchangeReportTarget {
public:
    struct Entry {
        ExchangeReport code;
        int arg;
        bool posted;
        bool operator==(const Entry&) const = default;
    };

    void Report(ExchangeReport code, int arg, bool posted) override;
    void AbandonReports() override { abandoned_ = true; }

    std::vector<Entry> entries() const;
    std::vector<int> codes() const;
    // Waits (real time) for a report that ends an exchange; false when none came in time.
    bool WaitFinal(std::chrono::milliseconds limit);
    bool abandoned() const { return abandoned_.load(); }

    // Runs inside each report, on the exchange thread, before it returns.
    std::function<void(const Entry&)> onReport;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Entry> entries_;
    std::atomic<bool> abandoned_{false};
};

bool IsFinalReport(ExchangeReport code, int arg);

// How test failures show a report.
void PrintTo(const RecordingTarget::Entry& entry, std::ostream* out);

} // namespace tesmira::test
