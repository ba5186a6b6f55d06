// Single-bit access to record bytes; bit numbers outside 0..7 read as clear and change nothing.
#pragma once

#include <cstdint>

namespace tesmira {

constexpr bool BitIsSet(std::uint8_t value, int bit) {
    return bit >= 0 && bit < 8 && ((value >> bit) & 1U) != 0;
}

constexpr void SetBit(std::uint8_t& value, int bit) {
    if (bit >= 0 && bit < 8) {
        value = static_cast<std::uint8_t>(value | (1U << bit));
    }
}

constexpr void ClearBit(std::uint8_t& value, int bit) {
    if (bit >= 0 && bit < 8) {
        value = static_cast<std::uint8_t>(value & ~(1U << bit));
    }
}

// SetBit when `on`, ClearBit otherwise: what a check box handler does to its bit.
constexpr void AssignBit(std::uint8_t& value, int bit, bool on) {
    if (on) {
        SetBit(value, bit);
    } else {
        ClearBit(value, bit);
    }
}

} // namespace tesmira
