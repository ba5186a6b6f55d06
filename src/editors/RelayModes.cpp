#include "editors/RelayModes.h"

#include "model/ValueRules.h"

#include <array>

namespace tesmira {

namespace {

constexpr std::array<std::string_view, 6> kRelayModeTexts = {
    "Отключено", "3 секунды",           "2 минуты",
    "До сброса", "Прерывисто 2 минуты", "Прерывисто до сброса",
};

constexpr std::uint8_t kNibbleMask = 0x0F;

} // namespace

std::span<const std::string_view> RelayModeTexts() {
    return kRelayModeTexts;
}

std::optional<int> RelayModeIn(std::uint8_t byte, Nibble nibble) {
    const int shift = static_cast<int>(nibble);
    return PositionIn(static_cast<std::uint8_t>((byte >> shift) & kNibbleMask),
                      kRelayModeTexts.size());
}

void StoreRelayMode(std::uint8_t& byte, Nibble nibble, int position) {
    if (!IsPositionIn(position, kRelayModeTexts.size()))
        return;
    const int shift = static_cast<int>(nibble);
    byte = static_cast<std::uint8_t>((byte & ~(kNibbleMask << shift)) | (position << shift));
}

} // namespace tesmira
