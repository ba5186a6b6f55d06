#include "model/ZoneTypes.h"

#include <algorithm>

namespace tesmira {

namespace {

constexpr std::array<std::string_view, kZoneTypeCount> kZoneTypeNames = {
    "Отключен", "Тревожный",  "Тихий тревожный", "Пожарный",          "Технологический",
    "Охранный", "Внутренний", "Дверной",         "Пожарн.2-х порог.",
};

constexpr std::array<std::uint8_t, 8> kSelectorAllButTwoThreshold = {0, 1, 2, 3, 4, 5, 6, 7};
constexpr std::array<std::uint8_t, 7> kSelectorNoInternal = {0, 1, 2, 3, 4, 5, 7};
constexpr std::array<std::uint8_t, 9> kSelectorAll = {0, 1, 2, 3, 4, 5, 6, 7, 8};
constexpr std::array<std::uint8_t, 5> kSelectorNoGuard = {0, 1, 2, 3, 4};

// Event index by zone type 0..8.
constexpr std::array<std::uint8_t, kZoneTypeCount> kDefaultEvents = {1,  16, 15, 4, 37,
                                                                     20, 21, 23, 4};
constexpr std::uint8_t kDefaultEventOtherType = 222; // 651 - РЕЗЕРВ

constexpr std::array<std::string_view, 4> kInterfaceNames = {
    "Отключено",
    "Velmar ППМ, Quell",
    "GSM-VANTIQ",
    "RS-485",
};

template <typename Text> int IndexIn(std::span<const Text> texts, std::string_view text) {
    const auto it = std::find(texts.begin(), texts.end(), text);
    return it == texts.end() ? -1 : static_cast<int>(it - texts.begin());
}

} // namespace

const std::array<std::string_view, kZoneTypeCount>& ZoneTypeNameTable() {
    return kZoneTypeNames;
}

std::vector<std::string> ZoneTypeNames() {
    return {kZoneTypeNames.begin(), kZoneTypeNames.end()};
}

int ZoneTypeByName(std::string_view name) {
    return IndexOfText(kZoneTypeNames, name);
}

std::string ZoneTypeItemText(std::uint8_t selector, std::optional<int> index) {
    const auto offered = ZoneTypeSelection(selector);
    if (!offered || !index || *index < 0 || static_cast<std::size_t>(*index) >= offered->size())
        return {};
    return std::string(ZoneTypeNameTable()[(*offered)[static_cast<std::size_t>(*index)]]);
}

std::optional<std::span<const std::uint8_t>> ZoneTypeSelection(std::uint8_t selector) {
    switch (selector) {
    case 0:
        return kSelectorAllButTwoThreshold;
    case 1:
        return kSelectorNoInternal;
    case 2:
        return kSelectorAll;
    case 3:
        return kSelectorNoGuard;
    default:
        return std::nullopt;
    }
}

std::uint8_t DefaultEventForZoneType(std::uint8_t zoneType) {
    const std::uint8_t type = zoneType & 0x7F;
    return type < kDefaultEvents.size() ? kDefaultEvents[type] : kDefaultEventOtherType;
}

ZoneTypeChange StoreZoneType(std::uint8_t& typeByte, std::uint8_t& eventByte, std::uint8_t type) {
    typeByte = type;
    if (type == kZoneTypeOff)
        return {false, std::nullopt};
    eventByte = DefaultEventForZoneType(type);
    return {true, eventByte};
}

const std::array<std::string_view, 4>& InterfaceNames() {
    return kInterfaceNames;
}

int IndexOfText(std::span<const std::string_view> texts, std::string_view text) {
    return IndexIn(texts, text);
}

int IndexOfText(std::span<const std::string> texts, std::string_view text) {
    return IndexIn(texts, text);
}

} // namespace tesmira
