#include "link/Crc8.h"

namespace tesmira {

namespace {

constexpr std::array<std::uint8_t, 256> makeTable() {
    std::array<std::uint8_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned reg = i;
        for (int bit = 0; bit < 8; ++bit)
            reg = (reg & 1u) ? (reg >> 1) ^ 0xB8u : reg >> 1;
        table[i] = static_cast<std::uint8_t>(reg);
    }
    return table;
}

} // namespace

// Built at compile time, so the table is a constant of the program image.
constinit const std::array<std::uint8_t, 256> kCrc8Table = makeTable();

std::uint8_t Crc8(const std::uint8_t* data, std::size_t count) {
    std::uint8_t reg = 0x00;
    for (std::size_t i = 0; i < count; ++i)
        reg = kCrc8Table[reg ^ data[i]];
    return reg;
}

} // namespace tesmira
