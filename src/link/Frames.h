// The two frame forms of the serial link: acceptance of a reply and the writers of requests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tesmira {

// Sizes of the two link buffers; a frame never extends past them.
inline constexpr std::size_t kReceiveBufferSize = 2112;
inline constexpr std::size_t kTransmitBufferSize = 122881;

inline constexpr std::uint8_t kShortFrameStart = 0x7E; // one-byte length at 1
inline constexpr std::uint8_t kLongFrameStart = 0x14;  // big-endian length at 2..3

inline constexpr std::uint8_t kCommandRead = 0x52;  // 'R'
inline constexpr std::uint8_t kCommandWrite = 0x57; // 'W'

inline constexpr std::size_t kReadRequestLength = 10;
inline constexpr std::size_t kShortFrameMaxLength = 255;
inline constexpr std::size_t kLongFrameMaxLength = 65535;

// Sub-command at byte 1 of a long frame.
enum class LongCommand : std::uint8_t {
    WriteConfig = 0,
    ListFiles = 1,
    DeleteFile = 2,
    UploadFile = 3,
};

// Answers of the firmware loader to one block.
inline constexpr std::uint8_t kFirmwareBlockAccepted = 0x11;
inline constexpr std::uint8_t kFirmwareBlockRefused = 0x22;

// Length announced by the frame that starts at buffer[0]: byte 1 of a short frame, bytes 2..3 of a
// long one; 0 for any other start byte, or when the length field lies outside the buffer.
std::size_t ExpectedFrameLength(std::span<const std::uint8_t> buffer);

// A reply is accepted when exactly as many bytes were received as its length field announces and
// its last byte is the CRC-8 of the others. A length of 0, or one that does not fit the buffer,
// is never accepted.
bool FrameIsValid(std::span<const std::uint8_t> buffer, std::size_t receivedCount);

// Device type of a reply: byte 3 of a short frame, byte 4 of a long frame, 0 otherwise.
std::uint8_t ReplyDeviceType(std::span<const std::uint8_t> buffer);

// Firmware version of a reply: byte 4 of a short frame, byte 5 of a long frame, 0 otherwise.
std::uint8_t ReplyVersion(std::span<const std::uint8_t> buffer);

// Where a reply's configuration record begins: 5 in a short frame, 6 in a long one, 0 otherwise.
std::size_t ReplyPayloadOffset(std::span<const std::uint8_t> buffer);

// Copies the configuration record of a reply (the received bytes from the frame's first one) from
// its payload offset into `record`, which gives the record's size. False, and nothing copied, when
// the frame, bounded by the bytes received, ends before the record and its CRC byte do: the bytes
// behind a short reply are its CRC and zeros, never a record.
bool CopyReplyRecord(std::span<const std::uint8_t> reply, std::span<std::uint8_t> record);

// True for the type codes the configurator can talk to (1..35).
constexpr bool DeviceTypeSupported(std::uint8_t type) {
    return type >= 1 && type <= 35;
}

// Frame writers. Each fills tx from offset 0, writes only the bytes of its own form (bytes it does
// not set keep what the buffer held), computes the CRC last and returns the frame length N.
// A frame that would not fit tx or its own length field is not written at all: the result is 0.

// 7E 0A 52 01 00, bytes 5..8 left as they are, CRC at 9.
[[nodiscard]] std::size_t WriteReadRequest(std::span<std::uint8_t> tx);

// 7E N 57 01 type, record from 5, CRC at N-1 (N = record size + 6).
[[nodiscard]] std::size_t WriteShortWriteFrame(std::span<std::uint8_t> tx, std::uint8_t type,
                                               std::span<const std::uint8_t> record);

// 14 sub N(hi) N(lo) type, payload from payloadOffset (5 or 6; a byte between 5 and the payload is
// left as it is), CRC at N-1 (N = payloadOffset + payload size + 1).
[[nodiscard]] std::size_t WriteLongFrame(std::span<std::uint8_t> tx, LongCommand command,
                                         std::uint8_t type, std::size_t payloadOffset,
                                         std::span<const std::uint8_t> payload);

} // namespace tesmira
