// Code page 1251 for the byte texts of device records and event list files, to and from UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesmira {

// The byte 0x98, which the code page leaves unassigned, maps to U+0098 (as web browsers do), so
// every byte string survives a decode and an encode unchanged.
char32_t Cp1251ToUnicode(std::uint8_t byte);
std::optional<std::uint8_t> UnicodeToCp1251(char32_t codePoint);

// Every byte becomes one character; zero bytes stay in the text.
std::string Cp1251ToUtf8(std::span<const std::uint8_t> bytes);

// A character the code page cannot hold, and each byte of malformed UTF-8, becomes '?'.
std::vector<std::uint8_t> Utf8ToCp1251(std::string_view text);

// Lossy conversion would change what the device shows; callers that must refuse it ask first.
bool FitsCp1251(std::string_view text);

} // namespace tesmira
