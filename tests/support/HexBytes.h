// Byte vectors written as the hex dumps they are read from: "14 00 01 87".
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace tesmira::test {

// Pairs of hex digits; blanks between them are ignored. A malformed dump is a mistake in the test.
inline std::vector<std::uint8_t> Hex(std::string_view dump) {
    const auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        throw std::invalid_argument("not a hex digit");
    };
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < dump.size(); ++i) {
        if (dump[i] == ' ')
            continue;
        if (i + 1 >= dump.size())
            throw std::invalid_argument("odd number of hex digits");
        bytes.push_back(static_cast<std::uint8_t>(digit(dump[i]) << 4 | digit(dump[i + 1])));
        ++i;
    }
    return bytes;
}

// The bytes of a text as it stands (ASCII, or code page 1251 bytes written as escapes).
inline std::vector<std::uint8_t> Text(std::string_view text) {
    return {text.begin(), text.end()};
}

} // namespace tesmira::test
