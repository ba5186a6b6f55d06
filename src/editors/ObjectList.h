// The objects window's own copy of a repeater's transmitter entries: what each grid cell shows,
// which cells open the number dialog, the count label, and the window's sizes.
#pragma once

#include "editors/TransmitterEntry.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesmira {

inline constexpr std::string_view kObjectWindowCaption = "Объекты";
inline constexpr std::string_view kObjectWindowCloseCaption = "Закрыть";

// The grid has a header row and then one row per pair of entries: row r (from 1) shows entry r
// in its left half (columns 0..2) and entry count / 2 + r in its right half (columns 4..6).
class ObjectList {
public:
    static constexpr int kColumnCount = 7;
    static constexpr int kRowHeight = 20;

    struct Column {
        std::string_view header;
        int width;
        int rightInset; // the text ends this far left of the cell's right edge
    };
    static std::span<const Column> Columns();

    // What the grid holds in a data cell's column.
    enum class CellKind { EntryNumber, TransmitterNumber, ObjectTypeImage, Gap };
    static CellKind KindOfColumn(int column);

    // `entryCount` is even (14 and 32 are used); all entries start empty.
    explicit ObjectList(std::size_t entryCount);

    std::size_t EntryCount() const { return entries_.size(); }
    int DataRowCount() const { return static_cast<int>(entries_.size() / 2); }

    // Copy the entries from and to a record's objects. Nothing is copied, and the result is
    // false, unless the span holds exactly entry count × 3 bytes.
    bool LoadEntries(std::span<const std::uint8_t> source);
    bool StoreEntries(std::span<std::uint8_t> destination) const;

    const TransmitterEntry& Entry(std::size_t index) const { return entries_.at(index); }

    // Entries whose object type is not 0, and the label that shows their number.
    int ActiveCount() const;
    // The same for a record's objects, whole entries of 3 bytes.
    static int ActiveCountOf(std::span<const std::uint8_t> objects);
    std::string CountLabelText() const; // "Объектов:5"

    // The entry a cell belongs to, by index from 0; none for the header row, the gap column and
    // rows past the grid.
    std::optional<std::size_t> EntryAt(int row, int column) const;
    struct Cell {
        int row;
        int firstColumn; // 0 for the left half, 4 for the right one
    };
    Cell CellOf(std::size_t index) const;

    // What a cell holds: the header texts in row 0; the entry's number from 1, its hexadecimal
    // number (empty when it is empty) and its object type digit (also "0") in data rows.
    std::string CellText(int row, int column) const;
    // The image drawn in an image cell: the object type; none for other cells.
    std::optional<int> CellImage(int row, int column) const;

    // Selecting the header row or column 0 moves the grid's selection; other cells keep it.
    static bool SelectionMoves(int row, int column);
    // Selecting a cell. In the number and image columns of a data row the entry is replaced by
    // what `editNumber` (the number dialog) yields for it; returns whether it was asked.
    bool SelectCell(int row, int column,
                    const std::function<TransmitterEntry(const TransmitterEntry&)>& editNumber);

private:
    std::vector<TransmitterEntry> entries_;
};

// The sizes the objects window takes for its entry count, in pixels.
struct ObjectWindowSize {
    int gridWidth;
    int gridHeight;
    int windowWidth;
    int windowHeight;

    int CloseButtonLeft(int buttonWidth) const { return gridWidth - buttonWidth + 5; }
};
ObjectWindowSize ObjectWindowSizeFor(std::size_t entryCount);

} // namespace tesmira
