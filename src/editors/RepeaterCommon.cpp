#include "editors/RepeaterCommon.h"

#include "model/BitHelpers.h"

namespace tesmira {

void StoreIndicationBit(std::uint8_t& indication, int bit, bool on) {
    if (bit == kIndicateOnReaderLed || bit == kIndicateOnLeds)
        AssignBit(indication, bit, on);
}

std::string ObjectsButtonCaption(std::optional<int> activeCount) {
    if (!activeCount)
        return std::string(repeater_text::kObjectsButton);
    return "Объектов " + std::to_string(*activeCount);
}

} // namespace tesmira
