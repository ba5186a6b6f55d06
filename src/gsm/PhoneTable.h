// The GSM communicator's eight phone entries (record bytes 4..131) as the rows of the phone grid,
// and the normalisation of typed numbers on their way back into the record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tesmira {

// The texts of one grid row, columns 1..4 (column 0 holds the row number).
struct PhoneRow {
    std::string phone;
    std::string group;
    std::string partition;
    std::string call;

    bool operator==(const PhoneRow&) const = default;
};

inline constexpr std::size_t kPhoneCount = 8;
inline constexpr std::size_t kPhoneEntrySize = 16;
inline constexpr std::size_t kPhoneDigitsMax = 13;
// A shorter text in the phone column is no number: its row is left out of the record.
inline constexpr std::size_t kPhoneMinLength = 10;

using PhoneArea = std::span<std::uint8_t, kPhoneCount * kPhoneEntrySize>;
using PhoneRows = std::array<PhoneRow, kPhoneCount>;

// Grid columns.
enum class PhoneColumn { Number = 0, Phone = 1, Group = 2, Partition = 3, Call = 4 };

std::span<const std::string_view> PhoneGroupTexts(); // "Группа 1" .. "Группа 3"
std::span<const std::string_view> PhoneCallTexts(); // "Откл", "Тревоги", "Тревоги+Неиспр."
inline constexpr std::string_view kAllPartitionsText = "Все";

// The rows a phone area shows: entry k in row k, empty entries as empty rows. A group or call
// byte that names no item is shown as its decimal value, which Store takes back unchanged.
PhoneRows ShowPhones(std::span<const std::uint8_t, kPhoneCount * kPhoneEntrySize> area);

// Writes the rows into the area. Rows whose phone text has fewer than 10 characters take no
// entry; the others are packed to the front in row order. A leading "8" becomes "7", then up to
// 13 digits of the whole text are kept. Bytes 13..15 of entries past the last one written keep
// their values.
void StorePhones(std::span<const PhoneRow> rows, PhoneArea area);

// What a click on a cell opens.
enum class PhoneCellEditor { None, Typing, GroupChoice, CallChoice };

// The rule of the grid's cell selection. A row with a phone gets "Все" and "Откл" in its empty
// partition and call cells; the phone and partition columns can be typed in, the group and call
// columns of such a row open their choice box (its items: PhoneGroupTexts, PhoneCallTexts).
PhoneCellEditor SelectPhoneCell(PhoneRow& row, PhoneColumn column);

} // namespace tesmira
