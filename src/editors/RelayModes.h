// The relay modes the eight-zone panels and the radio repeaters offer: a relay's mode is the
// position of its item, kept in one nibble of a record byte.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tesmira {

// "Отключено" .. "Прерывисто до сброса".
std::span<const std::string_view> RelayModeTexts();

enum class Nibble { Low = 0, High = 4 }; // the value is the shift

// The item a relay's list shows; none (no selection) for a nibble past the list.
std::optional<int> RelayModeIn(std::uint8_t byte, Nibble nibble);

// Stores the chosen mode in the nibble; the other nibble stays. A position outside the list
// changes nothing.
void StoreRelayMode(std::uint8_t& byte, Nibble nibble, int position);

} // namespace tesmira
