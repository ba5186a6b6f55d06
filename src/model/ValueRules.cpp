#include "model/ValueRules.h"

#include "model/TextHelpers.h"

namespace tesmira {

std::optional<int> PositionIn(std::uint8_t value, std::size_t count) {
    if (value >= count)
        return std::nullopt;
    return value;
}

bool IsPositionIn(int position, std::size_t count) {
    return position >= 0 && static_cast<std::size_t>(position) < count;
}

bool StorePosition(std::uint8_t& target, int position, std::size_t count) {
    if (!IsPositionIn(position, count))
        return false;
    target = static_cast<std::uint8_t>(position);
    return true;
}

std::optional<int> PositionOfCode(std::span<const CodedItem> items, int code) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].code == code)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::string CodedItemText(std::span<const CodedItem> items, std::optional<int> position) {
    if (!position || !IsPositionIn(*position, items.size()))
        return {};
    return std::string(items[static_cast<std::size_t>(*position)].text);
}

std::optional<std::string> StoreClamped(std::uint8_t& target, std::string_view text,
                                        NumberLimits limits) {
    ClampedIntResult read = ClampedInt(text, limits.min, limits.max, limits.fallback);
    target = static_cast<std::uint8_t>(read.value);
    return std::move(read.correctedText);
}

} // namespace tesmira
