#include "editors/RepeaterCommon.h"

#include "model/BitHelpers.h"

#include <array>

namespace tesmira {

namespace {

constexpr std::array<std::string_view, 6> kRelayModeTexts = {
    "Отключено", "3 секунды",           "2 минуты",
    "До сброса", "Прерывисто 2 минуты", "Прерывисто до сброса",
};

int NibbleShift(Relay relay) {
    return relay == Relay::Alarm ? 4 : 0;
}

} // namespace

std::span<const std::string_view> RelayModeTexts() {
    return kRelayModeTexts;
}

std::optional<int> RelayModeIndex(std::uint8_t modes, Relay relay) {
    const int mode = (modes >> NibbleShift(relay)) & 0x0F;
    if (static_cast<std::size_t>(mode) >= kRelayModeTexts.size())
        return std::nullopt;
    return mode;
}

void StoreRelayMode(std::uint8_t& modes, Relay relay, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= kRelayModeTexts.size())
        return;
    const int shift = NibbleShift(relay);
    modes = static_cast<std::uint8_t>((modes & ~(0x0F << shift)) | (index << shift));
}

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
