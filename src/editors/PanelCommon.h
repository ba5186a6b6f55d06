// What the eight-zone and five-zone panels share: the buzzer list with its stored codes, the siren
// run time, the Touch Memory modes, and how a zone's event shows in its box.
#pragma once

#include "model/ValueRules.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tesmira {

// In item order; each item's code is what the record stores for it. "10 сек. " and "4 минуты " end
// in a space: the device's own texts.
std::span<const CodedItem> BuzzerItems();

// The item that shows a stored code; none for a code no item stores.
std::optional<int> BuzzerIndexOfValue(std::uint8_t value);

// A pick in the buzzer box: `code` takes the item's code (0 when nothing is picked), and bit 7 of
// `enableByte` is set for every code but "Выключен всегда".
void StoreBuzzerChoice(std::uint8_t& code, std::uint8_t& enableByte, int index);

inline constexpr int kSirenTimeMin = 1;
inline constexpr int kSirenTimeMax = 600;
inline constexpr int kSirenTimeFallback = 2; // what text that is no number becomes

// Siren run time in seconds, big-endian in two record bytes.
std::string SirenTimeText(std::span<const std::uint8_t, 2> bytes);

// Stores the time read from `text`, clamped to 1..600 (text that is no number gives 2). Returns
// the text the field must show instead of what was typed, if any.
std::optional<std::string> StoreSirenTime(std::span<std::uint8_t, 2> bytes, std::string_view text);

// The record stores the position of the item.
std::span<const std::string_view> TouchMemoryModeTexts();

// The row an event box filled without user events selects for a stored event index. None for 0,
// for a user event and for an unlisted row, so that the box never keeps another zone's event.
std::optional<std::uint8_t> ZoneEventSelection(std::uint8_t eventIndex);

} // namespace tesmira
