#include "editors/LinkIdle.h"

namespace tesmira {

bool WaitUntilLinkIdle(const std::function<bool()>& busy, LinkClock& clock, std::uint32_t limitMs,
                       std::uint32_t stepMs) {
    const std::uint64_t start = clock.NowMs();
    while (busy()) {
        if (clock.NowMs() - start >= limitMs)
            return false;
        clock.SleepMs(stepMs == 0 ? 1 : stepMs);
    }
    return true;
}

} // namespace tesmira
