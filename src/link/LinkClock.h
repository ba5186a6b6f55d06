// The millisecond clock and the sleep that the link's waits use; tests give a virtual one.
#pragma once

#include <cstdint>

namespace tesmira {

class LinkClock {
public:
    virtual ~LinkClock() = default;

    // A monotonic tick in milliseconds; only differences between two readings mean anything.
    virtual std::uint64_t NowMs() = 0;

    // Sleeps the calling thread for `ms` milliseconds.
    virtual void SleepMs(std::uint32_t ms) = 0;
};

// The real clock (steady_clock) and sleep (this_thread::sleep_for); one shared instance.
LinkClock& SystemLinkClock();

} // namespace tesmira
