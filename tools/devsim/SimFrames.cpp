#include "SimFrames.h"

#include <cstdio>

namespace tesmira::devsim {

std::uint8_t Crc8(std::span<const std::uint8_t> bytes) {
    std::uint8_t reg = 0x00;
    for (std::uint8_t b : bytes) {
        reg ^= b;
        for (int bit = 0; bit < 8; ++bit)
            reg = (reg & 0x01) ? static_cast<std::uint8_t>((reg >> 1) ^ 0xB8)
                               : static_cast<std::uint8_t>(reg >> 1);
    }
    return reg;
}

void Reclose(Bytes& frame) {
    if (!frame.empty())
        frame.back() = Crc8(std::span(frame).first(frame.size() - 1));
}

Bytes ShortFrame(std::span<const std::uint8_t> head, std::span<const std::uint8_t> payload) {
    Bytes f{kShortStart, static_cast<std::uint8_t>(2 + head.size() + payload.size() + 1)};
    f.insert(f.end(), head.begin(), head.end());
    f.insert(f.end(), payload.begin(), payload.end());
    f.push_back(0);
    Reclose(f);
    return f;
}

Bytes LongFrame(std::uint8_t sub, std::span<const std::uint8_t> head,
                std::span<const std::uint8_t> payload) {
    const std::size_t n = 4 + head.size() + payload.size() + 1;
    Bytes f{kLongStart, sub, static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)};
    f.insert(f.end(), head.begin(), head.end());
    f.insert(f.end(), payload.begin(), payload.end());
    f.push_back(0);
    Reclose(f);
    return f;
}

bool CrcMatches(std::span<const std::uint8_t> frame) {
    return !frame.empty() && Crc8(frame.first(frame.size() - 1)) == frame.back();
}

std::string Hex(std::span<const std::uint8_t> bytes) {
    std::string s;
    char cell[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(cell, sizeof cell, i ? " %02X" : "%02X", bytes[i]);
        s += cell;
    }
    return s;
}

namespace {

std::string Field(const char* name, unsigned value) {
    return std::string(" ") + name + " " + std::to_string(value);
}

std::string CommandText(std::uint8_t c) {
    char cell[16];
    if (c >= 0x20 && c < 0x7F)
        std::snprintf(cell, sizeof cell, "'%c'", c);
    else
        std::snprintf(cell, sizeof cell, "0x%02X", c);
    return cell;
}

} // namespace

std::string DescribeFrame(std::span<const std::uint8_t> f, Direction direction) {
    if (f.size() < kMinFrameLength)
        return "not a frame";
    const bool sent = direction == Direction::Sent;
    std::string s;
    if (f[0] == kShortStart) {
        s = "short cmd " + CommandText(f[2]);
        // A request carries 0x01 at 3 and the type at 4; a reply carries type and version there.
        s += sent ? Field("type", f[3]) + Field("version", f[4]) : Field("type", f[4]);
        s += Field("len", f[1]);
    } else if (f[0] == kLongStart) {
        s = "long" + Field("sub", f[1]) + Field("type", f[4]);
        if (sent && f[1] == 0) // file list replies carry names from byte 5
            s += Field("version", f[5]);
        s += Field("len", static_cast<unsigned>(f[2] << 8 | f[3]));
    } else {
        return "not a frame";
    }
    return s + (CrcMatches(f) ? " crc ok" : " crc BAD");
}

} // namespace tesmira::devsim
