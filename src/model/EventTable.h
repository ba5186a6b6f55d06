// The Contact ID event table: the 256 rows behind every event index a configuration record stores.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesmira {

struct EventRow {
    std::uint8_t deviceCode; // equals the row index
    std::int32_t code;       // Contact ID code in decimal notation: event 130 is 130
    std::string_view name;   // UTF-8, at most 12 characters; two names end in a space
    std::uint8_t userEvent;  // 1: offered only in boxes filled with all events
    std::uint8_t listed;     // 1: offered in event boxes at all
};

inline constexpr std::size_t kEventRowCount = 256;

// Row order is box order; it is not code order everywhere (codes 411..416 follow 466).
const std::array<EventRow, kEventRowCount>& EventTable();

const EventRow& EventRowAt(std::uint8_t index);

// "130 - ВТОРЖЕНИЕ": the code in decimal, " - ", the name. Defined for every row, listed or not.
std::string EventText(std::uint8_t index);

std::uint16_t EventCode(std::uint8_t index);
std::string_view EventName(std::uint8_t index);

// Whether an event box shows the row: listed rows only, and user events only with allEvents.
bool EventOfferedInBox(std::uint8_t index, bool allEvents);

// The rows an event box offers, in box order (191 rows without allEvents, 238 with it).
std::vector<std::uint8_t> EventBoxRows(bool allEvents);

// What an event box shows for a stored event index: the text of its row when the box offers the
// row, else "" (no selection), also for 0, which names no event.
std::string EventBoxText(std::uint8_t index, bool allEvents);

// First row 1..255 whose event text equals `text` exactly, else 0.
std::uint8_t EventIndexByText(std::string_view text);

// First row 1..255 whose Contact ID code equals `code`, else 0 (654 gives 225, not 249).
std::uint8_t EventIndexByCode(std::int32_t code);

// First row 1..255 whose device code equals `deviceCode`; none for 0, which no row 1..255 has.
std::optional<std::uint8_t> EventRowByDeviceCode(std::uint8_t deviceCode);

} // namespace tesmira
