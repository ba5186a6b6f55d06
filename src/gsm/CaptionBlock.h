// The caption block of the GSM communicator (the names it puts into its SMS texts) and the
// 99-row caption grid it is built from and shown in.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesmira {

// The texts of one grid row: "Тип", "Номер", "Название".
struct CaptionRow {
    std::string type;
    std::string number;
    std::string name;

    bool operator==(const CaptionRow&) const = default;
};

inline constexpr std::size_t kCaptionRowCount = 99;
inline constexpr std::size_t kCaptionBufferSize = 2048;
inline constexpr std::size_t kCaptionHeaderSize = 4;
inline constexpr std::size_t kCaptionNameMax = 16; // bytes of code page 1251

using CaptionRows = std::array<CaptionRow, kCaptionRowCount>;

// Entry types, in the order of their names.
enum class CaptionType : std::uint8_t { Partition, Zone, User, AlarmEvent, NormalEvent };

// "Раздел", "Шлейф", "Пользователь", "Соб.Тревога.", "Соб.Норма".
std::span<const std::string_view> CaptionTypeTexts();

// The items of the event choice box: the event texts of every listed event, in box order.
const std::vector<std::string>& CaptionEventItems();

// The block of the complete rows (type, number and name all filled in), sorted by type, number
// and name (letters compared without regard to case): header (entry count, format 1, length
// big-endian), then per entry type, number, name length and the name's first 16 bytes.
std::vector<std::uint8_t> BuildCaptionBlock(std::span<const CaptionRow> rows);

// The rows a block shows, in block order. Stops at the first entry of an unknown type or of a
// name length of 0 or above 16, at the end of the block as its header gives it, at the end of
// `block`, and after 99 rows. An event entry whose number the event box has no item for shows
// the event text of that index ("0 - НЕИЗВЕСТ.КОД" for 0), which Build maps back to it.
CaptionRows ShowCaptionBlock(std::span<const std::uint8_t> block);

// What a click on a cell opens.
enum class CaptionCellEditor { None, TypeChoice, EventChoice, Typing };

// The caption grid's rows and the caption block they were last built into or shown from.
class CaptionTable {
public:
    CaptionTable();

    CaptionRows& rows() { return rows_; }
    const CaptionRows& rows() const { return rows_; }
    std::span<const std::uint8_t> block() const { return block_; }

    // Takes a block from a reply or a file. False, and nothing changes, when it has fewer than 4
    // or more than 2048 bytes, or when its header gives another length.
    bool AssignBlock(std::span<const std::uint8_t> block);

    // Rows -> block; returns the block's length.
    std::size_t Build();
    // Block -> rows.
    void Show() { rows_ = ShowCaptionBlock(block_); }
    // "Сортировка": the rows sorted, incomplete ones gone.
    void Sort();
    // Empties every row; the block stays until the next Build.
    void Clear() { rows_ = {}; }
    // "Удалить": the row is emptied and goes at the next Build.
    void RemoveRow(int row);

    // The rule of the grid's cell selection (rows from 0). A choice box opens over the type
    // column and over the number of an event entry; the number and name of a typed row are typed.
    CaptionCellEditor SelectCell(int row, int column) const;

    // A type chosen in the type box; the number gets its default: the number of the row above
    // plus 1 (1 in the first row or under a row without a number) for partitions, zones and users,
    // the first event item for events. A text that names no type, or the type the row has,
    // changes nothing.
    void ChooseType(int row, std::string_view typeText);
    // An event chosen in the event box; an empty text (nothing chosen) changes nothing.
    void ChooseEvent(int row, std::string_view eventText);

private:
    CaptionRow* RowAt(int row);

    CaptionRows rows_;
    std::vector<std::uint8_t> block_;
};

} // namespace tesmira
