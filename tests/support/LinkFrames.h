// Frames for the exchange tests; short ones written out, long ones closed with the tested Crc8.
#pragma once

#include "link/Crc8.h"
#include "support/LinkFakes.h"

namespace tesmira::test {

// 7E 0A 52 01 00, bytes 5..8 zero (the transmit buffer starts zeroed), CRC E3.
inline const Bytes kReadRequest = {0x7E, 0x0A, 0x52, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE3};

// A type 26 device, firmware 9, with its factory record.
inline const Bytes kReply26 = {0x7E, 0x13, 0x52, 0x1A, 0x09, 0x01, 0x08, 0x05, 0x02, 0x03,
                               0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0xF1};

// The type 26 write frame of the factory record.
inline const Bytes kWriteFrame26 = {0x7E, 0x13, 0x57, 0x01, 0x1A, 0x01, 0x08, 0x05, 0x02, 0x03,
                                    0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0xD9};

// Appends the CRC-8 of the bytes so far.
inline Bytes Closed(Bytes frame) {
    frame.push_back(Crc8(frame.data(), frame.size()));
    return frame;
}

// A short reply of `total` bytes with this type code.
inline Bytes ShortReply(std::uint8_t type, std::size_t total) {
    Bytes f = {0x7E, static_cast<std::uint8_t>(total), 0x52, type, 0x03};
    for (std::size_t i = f.size(); i + 1 < total; ++i)
        f.push_back(static_cast<std::uint8_t>(i * 13));
    return Closed(f);
}

// A long reply of `total` bytes with this type code.
inline Bytes LongReply(std::uint8_t type, std::size_t total) {
    Bytes f = {
        0x14, 0x00, static_cast<std::uint8_t>(total >> 8), static_cast<std::uint8_t>(total & 0xFF),
        type, 0x04};
    for (std::size_t i = f.size(); i + 1 < total; ++i)
        f.push_back(static_cast<std::uint8_t>(i * 7 + 1));
    return Closed(f);
}

// A firmware block: the 2-byte big-endian length, then that many bytes.
inline Bytes Block(std::size_t dataBytes, std::uint8_t fill) {
    Bytes b = {static_cast<std::uint8_t>(dataBytes >> 8), static_cast<std::uint8_t>(dataBytes)};
    b.insert(b.end(), dataBytes, fill);
    return b;
}

} // namespace tesmira::test
