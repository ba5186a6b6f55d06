// The simulator on its pseudo-terminal and the configurator's real link to it: port driver polled
// from a thread of its own, link module and exchange thread, run one exchange at a time.
#pragma once

#include "link/LinkModule.h"
#include "support/LinkFakes.h"
#include "tools/DevsimProcess.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace tesmira::test {

// What one exchange reported, and when (from its start).
struct ExchangeOutcome {
    bool finished = false; // a final report came and the thread ended within the limit
    std::vector<RecordingTarget::Entry> reports;
    std::vector<std::chrono::milliseconds> times; // one per report
    std::chrono::milliseconds elapsed{0};         // start to the end of the thread

    std::vector<int> codes() const;
    // Time between the first report of `from` and the first of `to` after it; -1 ms if absent.
    std::chrono::milliseconds Between(ExchangeReport from, ExchangeReport to) const;
};

class SimLink {
public:
    // Starts the simulator with `simArgs` and points the module's port at its slave. The link
    // waits on `clock` (a fast one for the cases that only wait for a time-out to run out).
    explicit SimLink(const std::vector<std::string>& simArgs, LinkClock& clock = SystemLinkClock());
    ~SimLink();
    SimLink(const SimLink&) = delete;
    SimLink& operator=(const SimLink&) = delete;

    // Copies `bytes` to the transmit buffer from offset 0; returns how many.
    int Put(const Bytes& bytes);
    // Starts an exchange and waits (real time) for its final report and the end of its thread.
    ExchangeOutcome Run(ExchangeMode mode, int length = 0,
                        std::chrono::milliseconds limit = std::chrono::seconds(40));
    // The receive buffer up to the received count.
    Bytes Received() const;

    DevsimProcess sim;
    ThreadPollTimer timer;
    LinkModule link;

private:
    std::mutex mutex_;
    std::chrono::steady_clock::time_point start_;
    std::vector<std::chrono::milliseconds> times_;
};

// Concatenates byte runs, so records can be written as their literal fields in order.
Bytes Join(std::initializer_list<Bytes> parts);

} // namespace tesmira::test
