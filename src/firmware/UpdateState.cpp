#include "firmware/UpdateState.h"

#include <algorithm>

namespace tesmira {

void FirmwareUpdateState::Start() {
    updating_ = true;
}

UpdateOutcome FirmwareUpdateState::Report(ExchangeReport code, int arg) {
    if (!updating_)
        return UpdateOutcome::None;
    switch (code) {
    case ExchangeReport::PortOpened:
        position_ = 0;
        barVisible_ = true;
        return UpdateOutcome::None;
    case ExchangeReport::FirmwareProgress:
        if (arg < kDone) {
            position_ = std::max(arg, 0);
            return UpdateOutcome::None;
        }
        updating_ = false;
        barVisible_ = false;
        return UpdateOutcome::Updated;
    case ExchangeReport::PortFailed:
        updating_ = false;
        return UpdateOutcome::PortFailed;
    case ExchangeReport::NoValidReply:
        // The bar stays at the last block that was accepted, until the next transfer opens
        // the port.
        updating_ = false;
        return UpdateOutcome::NoAnswer;
    default:
        return UpdateOutcome::None;
    }
}

} // namespace tesmira
