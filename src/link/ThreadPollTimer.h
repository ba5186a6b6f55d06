// A poll timer with a thread of its own, ticking in real time: for a host without an event loop
// (the command-line program, the tests that drive the real link).
#pragma once

#include "link/PollTimer.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace tesmira {
class ThreadPollTimer : public PollTimer {
public:
    ThreadPollTimer();
    ~ThreadPollTimer() override;

    void Start(std::uint16_t periodMs, std::function<void()> tick) override;
    void Stop() override;
    int ticks() const { return ticks_.load(); }

private:
    void Loop();

    std::mutex stateMutex_;
    std::condition_variable wake_;
    bool quit_ = false;
    bool active_ = false;
    std::uint64_t generation_ = 0;
    std::uint16_t period_ = 0;
    std::function<void()> tick_;
    std::mutex tickMutex_; // held while a tick runs
    std::atomic<int> ticks_{0};
    std::thread thread_;
};

} // namespace tesmira
