// The simulated device's own frame code: CRC-8, reply builders and the one-line link decoding.
// Deliberately independent of the configurator's frame layer, so a layout fault on one side is
// not mirrored on the other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tesmira::devsim {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kShortStart = 0x7E;
inline constexpr std::uint8_t kLongStart = 0x14;
inline constexpr std::size_t kMinFrameLength = 6;
inline constexpr std::size_t kMaxShortLength = 255;
inline constexpr std::size_t kMaxLongLength = 65535;

// CRC-8, bitwise: polynomial 0x1D bit-reflected (0xB8, right shift), init 0x00, no final XOR.
std::uint8_t Crc8(std::span<const std::uint8_t> bytes);

// 7E N head... payload CRC, where head is the bytes after the length field (command, ...).
Bytes ShortFrame(std::span<const std::uint8_t> head, std::span<const std::uint8_t> payload);

// 14 sub N(hi) N(lo) head... payload CRC, head being the bytes from offset 4 on.
Bytes LongFrame(std::uint8_t sub, std::span<const std::uint8_t> head,
                std::span<const std::uint8_t> payload);

// True when the frame's last byte is the CRC-8 of the others.
bool CrcMatches(std::span<const std::uint8_t> frame);

// Re-closes a frame whose bytes were changed: the last byte becomes the CRC-8 of the others.
void Reclose(Bytes& frame);

enum class Direction { Received, Sent };

// Frame form, command, type, length and CRC check of a frame, in one line for the link monitor.
std::string DescribeFrame(std::span<const std::uint8_t> frame, Direction direction);

// "7E 0A 52 ..." for the link monitor.
std::string Hex(std::span<const std::uint8_t> bytes);

} // namespace tesmira::devsim
