// Zone types with their default events, the zone-type subsets a box may offer, interface names.
#pragma once

#include "model/ValueRules.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesmira {

inline constexpr std::uint8_t kZoneTypeCount = 9;
inline constexpr std::uint8_t kZoneTypeOff = 0;

// Names by zone type code 0..8; the code is what zone-type fields of records hold.
const std::array<std::string_view, kZoneTypeCount>& ZoneTypeNameTable();

// The nine names in code order, as a list the caller owns.
std::vector<std::string> ZoneTypeNames();

// Code of the zone type with exactly this name, or -1.
int ZoneTypeByName(std::string_view name);

// The zone types a box offers for `selector` (0..3), in the order offered; none for any other
// selector, in which case a box is left as it is.
std::optional<std::span<const std::uint8_t>> ZoneTypeSelection(std::uint8_t selector);

// The name a zone-type box of `selector` shows at item `index`; "" for no item.
std::string ZoneTypeItemText(std::uint8_t selector, std::optional<int> index);

// Event index preset for a zone of this type; only the low 7 bits of `zoneType` count.
std::uint8_t DefaultEventForZoneType(std::uint8_t zoneType);

// What a zone's event box does after the zone's type was chosen.
struct ZoneTypeChange {
    bool eventEnabled;
    std::optional<std::uint8_t> eventToShow; // none: the box keeps its selection
};

// Stores a chosen zone type; a type other than off also gets its default event at once, while
// switching a zone off keeps its event byte.
ZoneTypeChange StoreZoneType(std::uint8_t& typeByte, std::uint8_t& eventByte, std::uint8_t type);

// A zone's (or loop's) exit and entry delays in seconds, typed.
inline constexpr NumberLimits kZoneDelayLimits = {0, 99, 30};

// Transmission interfaces of the eight-zone panels; the position is what the record stores.
const std::array<std::string_view, 4>& InterfaceNames();

// Index of the first element equal to `text`, -1 when none.
int IndexOfText(std::span<const std::string_view> texts, std::string_view text);
int IndexOfText(std::span<const std::string> texts, std::string_view text);

} // namespace tesmira
