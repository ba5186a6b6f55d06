// Radio letter lists ("1" .. "30", or the first few of them) and their item index rule: letter n
// is item n - 1.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tesmira {

inline constexpr std::size_t kMaxRadioLetter = 30;

inline constexpr std::array<std::string_view, kMaxRadioLetter> kRadioLetterTexts = {
    "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11", "12", "13", "14", "15",
    "16", "17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "30"};

// The first `count` letters, at most 30.
constexpr std::span<const std::string_view> RadioLetterTexts(std::size_t count) {
    return std::span<const std::string_view>(kRadioLetterTexts)
        .first(std::min(count, kRadioLetterTexts.size()));
}

// The item showing a stored letter in a list of `count` letters; none (no selection) for a
// letter outside the list.
constexpr std::optional<int> RadioLetterIndex(std::uint8_t letter, std::size_t count) {
    if (letter < 1 || letter > std::min(count, kMaxRadioLetter))
        return std::nullopt;
    return letter - 1;
}

// Stores the letter of the chosen item; an index outside the list changes nothing.
constexpr void StoreRadioLetter(std::uint8_t& letter, int index, std::size_t count) {
    if (index >= 0 && static_cast<std::size_t>(index) < std::min(count, kMaxRadioLetter))
        letter = static_cast<std::uint8_t>(index + 1);
}

} // namespace tesmira
