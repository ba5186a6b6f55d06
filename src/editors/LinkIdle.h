// Waiting for the serial link to be free before an editor writes a frame into the shared
// transmit buffer.
#pragma once

#include "link/LinkClock.h"

#include <cstdint>
#include <functional>

namespace tesmira {

// An exchange that has made its last report only closes the port; that takes milliseconds, but
// the exchange thread runs at the lowest priority on a busy machine.
inline constexpr std::uint32_t kLinkSettleMs = 1000;
inline constexpr std::uint32_t kLinkSettleStepMs = 5;

// Asks `busy` until it answers false or `limitMs` have passed on `clock`, sleeping `stepMs`
// between questions. Returns whether the link became free.
bool WaitUntilLinkIdle(const std::function<bool()>& busy, LinkClock& clock,
                       std::uint32_t limitMs = kLinkSettleMs,
                       std::uint32_t stepMs = kLinkSettleStepMs);

} // namespace tesmira
