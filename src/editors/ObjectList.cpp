#include "editors/ObjectList.h"

#include <algorithm>
#include <array>

namespace tesmira {

namespace {

constexpr std::array<ObjectList::Column, ObjectList::kColumnCount> kColumns = {{
    {"", 30, 5},
    {"Эф.номер", 80, 20},
    {"", 20, 0},
    {"", 70, 0}, // gap between the halves
    {"", 30, 5},
    {"Эф.номер", 80, 20},
    {"", 20, 0},
}};

constexpr int kRightHalf = 4; // first column of the right half
constexpr std::string_view kCountLabel = "Объектов:";

} // namespace

std::span<const ObjectList::Column> ObjectList::Columns() {
    return kColumns;
}

ObjectList::CellKind ObjectList::KindOfColumn(int column) {
    switch (column) {
    case 0:
    case 4:
        return CellKind::EntryNumber;
    case 1:
    case 5:
        return CellKind::TransmitterNumber;
    case 2:
    case 6:
        return CellKind::ObjectTypeImage;
    default:
        return CellKind::Gap;
    }
}

ObjectList::ObjectList(std::size_t entryCount) : entries_(entryCount, TransmitterEntry{}) {}

bool ObjectList::LoadEntries(std::span<const std::uint8_t> source) {
    if (source.size() != entries_.size() * kTransmitterEntrySize)
        return false;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(i * kTransmitterEntrySize),
                    kTransmitterEntrySize, entries_[i].begin());
    return true;
}

bool ObjectList::StoreEntries(std::span<std::uint8_t> destination) const {
    if (destination.size() != entries_.size() * kTransmitterEntrySize)
        return false;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        std::copy(entries_[i].begin(), entries_[i].end(),
                  destination.begin() + static_cast<std::ptrdiff_t>(i * kTransmitterEntrySize));
    return true;
}

int ObjectList::ActiveCount() const {
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(), [](const auto& entry) {
        return EntryObjectType(entry) != kObjectTypeOff;
    }));
}

int ObjectList::ActiveCountOf(std::span<const std::uint8_t> objects) {
    ObjectList list(objects.size() / kTransmitterEntrySize);
    list.LoadEntries(objects.first(list.EntryCount() * kTransmitterEntrySize));
    return list.ActiveCount();
}

std::string ObjectList::CountLabelText() const {
    return std::string(kCountLabel) + std::to_string(ActiveCount());
}

std::optional<std::size_t> ObjectList::EntryAt(int row, int column) const {
    if (row < 1 || row > DataRowCount() || column < 0 || column >= kColumnCount ||
        KindOfColumn(column) == CellKind::Gap)
        return std::nullopt;
    const auto inHalf = static_cast<std::size_t>(row - 1);
    return column < kRightHalf ? inHalf : static_cast<std::size_t>(DataRowCount()) + inHalf;
}

ObjectList::Cell ObjectList::CellOf(std::size_t index) const {
    const auto half = static_cast<std::size_t>(DataRowCount());
    if (index < half)
        return {static_cast<int>(index) + 1, 0};
    return {static_cast<int>(index - half) + 1, kRightHalf};
}

std::string ObjectList::CellText(int row, int column) const {
    if (row == 0)
        return column >= 0 && column < kColumnCount ? std::string(kColumns[column].header) : "";
    const auto index = EntryAt(row, column);
    if (!index)
        return {};
    switch (KindOfColumn(column)) {
    case CellKind::EntryNumber:
        return std::to_string(*index + 1);
    case CellKind::TransmitterNumber:
        return EntryHexText(entries_[*index]);
    case CellKind::ObjectTypeImage:
        return std::to_string(EntryObjectType(entries_[*index]));
    case CellKind::Gap:
        break;
    }
    return {};
}

std::optional<int> ObjectList::CellImage(int row, int column) const {
    const auto index = EntryAt(row, column);
    if (!index || KindOfColumn(column) != CellKind::ObjectTypeImage)
        return std::nullopt;
    return EntryObjectType(entries_[*index]);
}

bool ObjectList::SelectionMoves(int row, int column) {
    return row == 0 || column == 0;
}

bool ObjectList::SelectCell(
    int row, int column,
    const std::function<TransmitterEntry(const TransmitterEntry&)>& editNumber) {
    const auto index = EntryAt(row, column);
    const CellKind kind = KindOfColumn(column);
    if (!index || (kind != CellKind::TransmitterNumber && kind != CellKind::ObjectTypeImage))
        return false;
    entries_[*index] = editNumber(entries_[*index]);
    return true;
}

ObjectWindowSize ObjectWindowSizeFor(std::size_t entryCount) {
    constexpr int kBorder = 12;
    constexpr int kRowPitch = 22; // row height with its grid line, also of the header
    int columns = 0;
    for (const ObjectList::Column& column : kColumns)
        columns += column.width;
    const int gridWidth = columns + kBorder;
    const int gridHeight = static_cast<int>(entryCount / 2) * kRowPitch + kRowPitch;
    return {gridWidth, gridHeight, gridWidth + 20, gridHeight + 90};
}

} // namespace tesmira
