#include "link/Frames.h"

#include "link/Crc8.h"

#include <algorithm>

namespace tesmira {

std::size_t ExpectedFrameLength(std::span<const std::uint8_t> buffer) {
    if (buffer.empty())
        return 0;
    if (buffer[0] == kShortFrameStart)
        return buffer.size() > 1 ? buffer[1] : 0;
    if (buffer[0] == kLongFrameStart)
        return buffer.size() > 3 ? std::size_t{buffer[2]} * 256u + buffer[3] : 0;
    return 0;
}

bool FrameIsValid(std::span<const std::uint8_t> buffer, std::size_t receivedCount) {
    const std::size_t expected = ExpectedFrameLength(buffer);
    if (expected == 0)
        return false;
    // Equality with the count comes first: it also keeps the CRC read inside the buffer.
    if (receivedCount != expected || expected > buffer.size())
        return false;
    return Crc8(buffer.data(), expected - 1) == buffer[expected - 1];
}

std::uint8_t ReplyDeviceType(std::span<const std::uint8_t> buffer) {
    if (buffer.size() > 3 && buffer[0] == kShortFrameStart)
        return buffer[3];
    if (buffer.size() > 4 && buffer[0] == kLongFrameStart)
        return buffer[4];
    return 0;
}

std::uint8_t ReplyVersion(std::span<const std::uint8_t> buffer) {
    if (buffer.size() > 4 && buffer[0] == kShortFrameStart)
        return buffer[4];
    if (buffer.size() > 5 && buffer[0] == kLongFrameStart)
        return buffer[5];
    return 0;
}

std::size_t ReplyPayloadOffset(std::span<const std::uint8_t> buffer) {
    if (buffer.empty())
        return 0;
    if (buffer[0] == kShortFrameStart)
        return 5;
    if (buffer[0] == kLongFrameStart)
        return 6;
    return 0;
}

bool CopyReplyRecord(std::span<const std::uint8_t> reply, std::span<std::uint8_t> record) {
    const std::size_t offset = ReplyPayloadOffset(reply);
    const std::size_t frame = ExpectedFrameLength(reply);
    if (offset == 0 || frame > reply.size() || frame < offset + 1 ||
        record.size() > frame - 1 - offset)
        return false;
    std::copy_n(reply.begin() + static_cast<std::ptrdiff_t>(offset), record.size(), record.begin());
    return true;
}

std::size_t WriteReadRequest(std::span<std::uint8_t> tx) {
    if (tx.size() < kReadRequestLength)
        return 0;
    tx[0] = kShortFrameStart;
    tx[1] = static_cast<std::uint8_t>(kReadRequestLength);
    tx[2] = kCommandRead;
    tx[3] = 0x01;
    tx[4] = 0x00;
    tx[9] = Crc8(tx.data(), 9);
    return kReadRequestLength;
}

std::size_t WriteShortWriteFrame(std::span<std::uint8_t> tx, std::uint8_t type,
                                 std::span<const std::uint8_t> record) {
    const std::size_t n = record.size() + 6;
    if (n > kShortFrameMaxLength || n > tx.size())
        return 0;
    tx[0] = kShortFrameStart;
    tx[2] = kCommandWrite;
    tx[3] = 0x01;
    tx[4] = type;
    std::copy(record.begin(), record.end(), tx.begin() + 5);
    tx[1] = static_cast<std::uint8_t>(n);
    tx[n - 1] = Crc8(tx.data(), n - 1);
    return n;
}

std::size_t WriteLongFrame(std::span<std::uint8_t> tx, LongCommand command, std::uint8_t type,
                           std::size_t payloadOffset, std::span<const std::uint8_t> payload) {
    if (payloadOffset < 5)
        return 0;
    const std::size_t n = payloadOffset + payload.size() + 1;
    if (n > kLongFrameMaxLength || n > tx.size())
        return 0;
    tx[0] = kLongFrameStart;
    tx[1] = static_cast<std::uint8_t>(command);
    tx[4] = type;
    std::copy(payload.begin(), payload.end(),
              tx.begin() + static_cast<std::ptrdiff_t>(payloadOffset));
    tx[2] = static_cast<std::uint8_t>(n >> 8);
    tx[3] = static_cast<std::uint8_t>(n & 0xFF);
    tx[n - 1] = Crc8(tx.data(), n - 1);
    return n;
}

} // namespace tesmira
