// The periodic timer on which the serial driver polls for received bytes; the host provides it.
#pragma once

#include <cstdint>
#include <functional>

namespace tesmira {

// The ticks run on the timer's own thread (in the program, the user-interface thread). Start and
// Stop may be called from any thread; an implementation whose timer can only be touched from its
// own thread carries the request over to it.
class PollTimer {
public:
    virtual ~PollTimer() = default;

    // Starts periodic ticks every `periodMs` that call `tick`, or restarts them with the new
    // period and handler when already running.
    virtual void Start(std::uint16_t periodMs, std::function<void()> tick) = 0;

    // Once Stop returns, no tick is running and none starts until the next Start. A tick that
    // is running on another thread is waited for; called from inside a tick, Stop returns at once.
    virtual void Stop() = 0;
};

} // namespace tesmira
