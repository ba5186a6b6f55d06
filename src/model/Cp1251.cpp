#include "model/Cp1251.h"

#include <algorithm>
#include <array>

namespace tesmira {

namespace {

// Bytes 0x80..0xFF; 0xC0..0xFF are А..я in alphabet order (without Ё/ё, which sit at A8/B8).
// clang-format off
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, // F8
};
// clang-format on

constexpr char kReplacement = '?';

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        // Every character of the code page lies in the Basic Multilingual Plane.
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `pos`; on malformed input returns none and consumes one byte.
// Overlong forms, surrogates and values past U+10FFFF count as malformed.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return std::nullopt;
    }
    if (pos + length > text.size()) {
        ++pos;
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return std::nullopt;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return std::nullopt;
    }
    pos += length;
    return cp;
}

} // namespace

char32_t Cp1251ToUnicode(std::uint8_t byte) {
    return byte < 0x80 ? byte : kHighHalf[byte - 0x80];
}

std::optional<std::uint8_t> UnicodeToCp1251(char32_t codePoint) {
    if (codePoint < 0x80) {
        return static_cast<std::uint8_t>(codePoint);
    }
    const auto it = std::find(kHighHalf.begin(), kHighHalf.end(), codePoint);
    if (it == kHighHalf.end()) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(0x80 + (it - kHighHalf.begin()));
}

std::string Cp1251ToUtf8(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        AppendUtf8(out, Cp1251ToUnicode(byte));
    }
    return out;
}

std::vector<std::uint8_t> Utf8ToCp1251(std::string_view text) {
    std::vector<std::uint8_t> out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::optional<char32_t> cp = NextCodePoint(text, pos);
        const std::optional<std::uint8_t> byte = cp ? UnicodeToCp1251(*cp) : std::nullopt;
        out.push_back(byte.value_or(static_cast<std::uint8_t>(kReplacement)));
    }
    return out;
}

bool FitsCp1251(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::optional<char32_t> cp = NextCodePoint(text, pos);
        if (!cp || !UnicodeToCp1251(*cp)) {
            return false;
        }
    }
    return true;
}

} // namespace tesmira
