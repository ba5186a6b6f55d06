#include "link/ThreadPollTimer.h"

#include <chrono>

namespace tesmira {

ThreadPollTimer::ThreadPollTimer() : thread_([this] { Loop(); }) {}

ThreadPollTimer::~ThreadPollTimer() {
    {
        std::lock_guard lock(stateMutex_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void ThreadPollTimer::Start(std::uint16_t periodMs, std::function<void()> tick) {
    {
        std::lock_guard lock(stateMutex_);
        active_ = true;
        period_ = periodMs;
        tick_ = std::move(tick);
        ++generation_;
    }
    wake_.notify_all();
}

void ThreadPollTimer::Stop() {
    {
        std::lock_guard lock(stateMutex_);
        active_ = false;
        ++generation_;
    }
    wake_.notify_all();
    if (std::this_thread::get_id() != thread_.get_id()) {
        std::lock_guard wait(tickMutex_); // a tick already running ends first
    }
}

void ThreadPollTimer::Loop() {
    std::unique_lock lock(stateMutex_);
    while (!quit_) {
        if (!active_) {
            wake_.wait(lock);
            continue;
        }
        const std::uint64_t generation = generation_;
        const auto period = std::chrono::milliseconds(period_);
        if (wake_.wait_for(lock, period, [&] { return quit_ || generation_ != generation; }))
            continue; // stopped, restarted or quitting
        std::function<void()> tick = tick_;
        lock.unlock();
        {
            std::lock_guard running(tickMutex_);
            bool current = false;
            {
                std::lock_guard again(stateMutex_);
                current = active_ && generation_ == generation;
            }
            if (current && tick) {
                tick();
                ++ticks_;
            }
        }
        lock.lock();
    }
}

} // namespace tesmira
