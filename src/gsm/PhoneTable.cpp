#include "gsm/PhoneTable.h"

#include "gsm/EventSelection.h"

#include "model/Cp1251.h"
#include "model/TextHelpers.h"
#include "model/ZoneTypes.h"

#include <algorithm>
#include <optional>

namespace tesmira {

namespace {

constexpr std::array<std::string_view, 3> kCallTexts = {"Откл", "Тревоги", "Тревоги+Неиспр."};

constexpr std::size_t kGroupByte = 13;
constexpr std::size_t kPartitionByte = 14;
constexpr std::size_t kCallByte = 15;

std::string ItemText(std::uint8_t value, std::span<const std::string_view> items) {
    if (value < items.size())
        return std::string(items[value]);
    return std::to_string(value);
}

// An item's index, or the value of a number no item stands for (as ItemText shows it); else 0.
std::uint8_t ItemByte(std::string_view text, std::span<const std::string_view> items) {
    const int index = IndexOfText(items, text);
    if (index >= 0)
        return static_cast<std::uint8_t>(index);
    const std::optional<long long> value = ParseInteger(text);
    if (value && *value >= static_cast<long long>(items.size()) && *value <= 255)
        return static_cast<std::uint8_t>(*value);
    return 0;
}

std::uint8_t PartitionByte(std::string_view text) {
    // 0 means every partition, so a number past the byte stops at the last one instead.
    return static_cast<std::uint8_t>(std::clamp<long long>(ParseInteger(text).value_or(0), 0, 255));
}

} // namespace

std::span<const std::string_view> PhoneGroupTexts() {
    return EventSelection::GroupTexts(); // a phone reports the events of its group
}

std::span<const std::string_view> PhoneCallTexts() {
    return kCallTexts;
}

PhoneRows ShowPhones(std::span<const std::uint8_t, kPhoneCount * kPhoneEntrySize> area) {
    PhoneRows rows;
    for (std::size_t k = 0; k < kPhoneCount; ++k) {
        const auto entry = area.subspan(k * kPhoneEntrySize, kPhoneEntrySize);
        if (entry[0] == 0)
            continue;
        const auto digits = entry.first(kPhoneDigitsMax);
        PhoneRow& row = rows[k];
        row.phone =
            "+" + Cp1251ToUtf8({digits.begin(), std::find(digits.begin(), digits.end(), 0)});
        row.group = ItemText(entry[kGroupByte], PhoneGroupTexts());
        row.partition = entry[kPartitionByte] == 0 ? std::string(kAllPartitionsText)
                                                   : std::to_string(entry[kPartitionByte]);
        row.call = ItemText(entry[kCallByte], kCallTexts);
    }
    return rows;
}

void StorePhones(std::span<const PhoneRow> rows, PhoneArea area) {
    for (std::size_t k = 0; k < kPhoneCount; ++k)
        std::fill_n(area.begin() + static_cast<std::ptrdiff_t>(k * kPhoneEntrySize),
                    kPhoneDigitsMax, 0);
    std::size_t out = 0;
    for (const PhoneRow& row : rows) {
        if (out == kPhoneCount)
            break;
        std::vector<std::uint8_t> text = Utf8ToCp1251(row.phone);
        if (text.size() < kPhoneMinLength)
            continue;
        if (text[0] == '8')
            text[0] = '7';
        const auto entry = area.subspan(out * kPhoneEntrySize, kPhoneEntrySize);
        std::size_t digits = 0;
        for (const std::uint8_t c : text) {
            if (c >= '0' && c <= '9' && digits < kPhoneDigitsMax)
                entry[digits++] = c;
        }
        entry[kGroupByte] = ItemByte(row.group, PhoneGroupTexts());
        entry[kCallByte] = ItemByte(row.call, kCallTexts);
        entry[kPartitionByte] = PartitionByte(row.partition);
        ++out;
    }
}

PhoneCellEditor SelectPhoneCell(PhoneRow& row, PhoneColumn column) {
    const bool hasPhone = !row.phone.empty();
    if (hasPhone) {
        if (row.partition.empty())
            row.partition = kAllPartitionsText;
        if (row.call.empty())
            row.call = kCallTexts[0];
    }
    switch (column) {
    case PhoneColumn::Phone:
    case PhoneColumn::Partition:
        return PhoneCellEditor::Typing;
    case PhoneColumn::Group:
        return hasPhone ? PhoneCellEditor::GroupChoice : PhoneCellEditor::None;
    case PhoneColumn::Call:
        return hasPhone ? PhoneCellEditor::CallChoice : PhoneCellEditor::None;
    case PhoneColumn::Number:
        break;
    }
    return PhoneCellEditor::None;
}

} // namespace tesmira
