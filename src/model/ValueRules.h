// How records keep the values of their controls: a list's choice as its item position or its
// item's code, and a typed number clamped to its limits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tesmira {

// Item position for a value stored as a position: none when the list has no such item.
std::optional<int> PositionIn(std::uint8_t value, std::size_t count);

// Whether `position` names one of `count` items; a list that shows no item gives -1.
bool IsPositionIn(int position, std::size_t count);

// True, and `target` set, when `position` names one of `count` items; false changes nothing.
bool StorePosition(std::uint8_t& target, int position, std::size_t count);

// A list item and the code the record stores for it.
struct CodedItem {
    std::string_view text;
    std::uint8_t code;
};

// The position of the item with `code`; none when no item has it.
std::optional<int> PositionOfCode(std::span<const CodedItem> items, int code);

// The text of the item at `position`; "" for none.
std::string CodedItemText(std::span<const CodedItem> items, std::optional<int> position);

// A typed number's range and what text that is no number becomes.
struct NumberLimits {
    int min;
    int max;
    int fallback;
};

// Stores the number read from `text` within `limits` (out of range: the nearest limit; no
// number: the fallback). Returns the text the field must show instead of what was typed, if any.
std::optional<std::string> StoreClamped(std::uint8_t& target, std::string_view text,
                                        NumberLimits limits);

} // namespace tesmira
