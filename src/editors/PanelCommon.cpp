#include "editors/PanelCommon.h"

#include "model/BitHelpers.h"
#include "model/EventTable.h"
#include "model/TextHelpers.h"

#include <array>

namespace tesmira {

namespace {

constexpr std::uint8_t kBuzzerAlwaysOff = 255;
constexpr int kBuzzerEnableBit = 7;

constexpr std::array<CodedItem, 9> kBuzzerItems = {{
    {"До сброса", 0},
    {"10 сек. ", 10},
    {"20 сек.", 20},
    {"30 сек.", 30},
    {"1 минута", 60},
    {"2 минуты", 120},
    {"4 минуты ", 240},
    {"Выключен при тревогах", 254},
    {"Выключен всегда", kBuzzerAlwaysOff},
}};

constexpr std::array<std::string_view, 3> kTouchMemoryModes = {
    "Ставить и снимать ключом Touch Memory",
    "Ставить на охрану замыканием входа TM",
    "Ставить на охрану размыканием входа TM",
};

} // namespace

std::span<const CodedItem> BuzzerItems() {
    return kBuzzerItems;
}

std::optional<int> BuzzerIndexOfValue(std::uint8_t value) {
    return PositionOfCode(kBuzzerItems, value);
}

void StoreBuzzerChoice(std::uint8_t& code, std::uint8_t& enableByte, int index) {
    code = IsPositionIn(index, kBuzzerItems.size())
               ? kBuzzerItems[static_cast<std::size_t>(index)].code
               : 0;
    AssignBit(enableByte, kBuzzerEnableBit, code != kBuzzerAlwaysOff);
}

std::string SirenTimeText(std::span<const std::uint8_t, 2> bytes) {
    return std::to_string(bytes[0] * 256 + bytes[1]);
}

std::optional<std::string> StoreSirenTime(std::span<std::uint8_t, 2> bytes, std::string_view text) {
    ClampedIntResult read = ClampedInt(text, kSirenTimeMin, kSirenTimeMax, kSirenTimeFallback);
    bytes[0] = static_cast<std::uint8_t>(read.value / 256);
    bytes[1] = static_cast<std::uint8_t>(read.value % 256);
    return std::move(read.correctedText);
}

std::span<const std::string_view> TouchMemoryModeTexts() {
    return kTouchMemoryModes;
}

std::optional<std::uint8_t> ZoneEventSelection(std::uint8_t eventIndex) {
    if (!EventOfferedInBox(eventIndex, false))
        return std::nullopt;
    return eventIndex;
}

} // namespace tesmira
