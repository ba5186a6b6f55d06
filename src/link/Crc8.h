// CRC-8 that closes every frame on the serial link and every configuration file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tesmira {

// Width 8, polynomial 0x1D processed bit-reflected (0xB8, right-shifting register),
// input and output reflected, initial value 0x00, no final XOR. Check value ("123456789"): 0x56.
// Note the initial value: CRC-8/TECH-3250 shares the polynomial but starts at 0xFF.
extern const std::array<std::uint8_t, 256> kCrc8Table;

std::uint8_t Crc8(const std::uint8_t* data, std::size_t count);

inline std::uint8_t Crc8(std::span<const std::uint8_t> bytes) {
    return Crc8(bytes.data(), bytes.size());
}

} // namespace tesmira
