// Devices played on a pseudo-terminal: a peer thread in real time, a rig in virtual time.
#pragma once

#include "link/LinkModule.h"
#include "support/LinkFakes.h"
#include "support/PtyPair.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tesmira::test {

// Once the host has sent `afterHostBytes` bytes in all, wait `delayMs`, then send `reply` (or
// close the master: the device goes away).
struct PeerStep {
    std::size_t afterHostBytes = 0;
    std::uint32_t delayMs = 0;
    Bytes reply;
    bool hangUp = false;
};

// Plays the script on the master of `pty` from a thread of its own, in real time.
class PeerThread {
public:
    PeerThread(PtyPair& pty, std::vector<PeerStep> script);
    ~PeerThread();
    PeerThread(const PeerThread&) = delete;
    PeerThread& operator=(const PeerThread&) = delete;

    Bytes fromHost() const;

private:
    void Loop();

    PtyPair& pty_;
    std::vector<PeerStep> script_;
    mutable std::mutex mutex_;
    Bytes fromHost_;
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

// One exchange on the test's thread in virtual time, over a real pseudo-terminal. At every sleep
// of the exchange the rig reads what the host sent, sends the script's replies that are due and
// fires the poll when its period has passed; the poll then waits (in real time) until the bytes
// sent so far have come through, so the virtual timing is exact.
class VirtualExchangeRig {
public:
    VirtualExchangeRig();
    ~VirtualExchangeRig();

    void Script(std::vector<PeerStep> steps) { steps_ = std::move(steps); }
    // Runs Exchange to its end; returns the virtual milliseconds it took.
    std::uint64_t Run(ExchangeMode mode, int length = 0);

    std::vector<RecordingTarget::Entry> Reports() const { return reports->entries(); }
    std::vector<int> Codes() const { return reports->codes(); }
    // Virtual time of each report, from the start of the run.
    const std::vector<std::uint64_t>& ReportTimes() const { return reportTimes_; }
    const Bytes& FromHost() const { return fromHost_; }
    // Virtual times of the host's writes, from the start of the run.
    std::vector<std::uint64_t> WriteTimes() const;
    // The line speed the device end saw whenever bytes of the host came in.
    const std::vector<unsigned>& SpeedsSeen() const { return speedsSeen_; }

private:
    struct WriteLog;
    class CountingBackend;

    void OnSleep();
    void PullHostBytes();
    void SendDueReplies();
    void PollIfDue();
    std::uint64_t TimeHostReached(std::size_t count) const;

    std::shared_ptr<WriteLog> log_; // before `link`, whose backend writes into it

public:
    PtyPair pty;
    VirtualClock clock;
    ManualPollTimer timer{&clock};
    std::shared_ptr<RecordingTarget> reports = std::make_shared<RecordingTarget>();
    LinkModule link;

private:
    std::vector<PeerStep> steps_;
    std::size_t nextStep_ = 0;
    Bytes fromHost_;
    std::size_t sentToHost_ = 0;
    std::atomic<std::size_t> delivered_{0};
    int seenStarts_ = 0;
    std::uint64_t nextPoll_ = 0;
    std::uint64_t runStart_ = 0;
    std::vector<std::uint64_t> reportTimes_;
    std::vector<unsigned> speedsSeen_;
};

} // namespace tesmira::test
