// A configuration as named fields: for every value a window shows, a stable id, its label and page,
// the text its control shows and the bytes it lives in. Compare and the report are built on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesmira {

// Bytes byte..byte+length-1 of a file block: of the first byte the bits in `bits`, the others
// whole (a number's high bits may share their byte with another field).
struct FieldPlace {
    std::size_t block = 0;
    std::size_t byte = 0;
    std::size_t length = 1;
    std::uint8_t bits = 0xFF;
};

// The cell of a table control that shows a field.
struct FieldCell {
    int row;
    int column;
};

struct Field {
    std::string id;                // ASCII, never changed once released: "zone.3.type"
    std::string page;              // the page or group it sits on
    std::string label;             // as the window shows it
    std::string value;             // as its control shows it; "" for a list showing no item
    std::string control;           // object name of the control that shows it; empty when none does
    std::optional<FieldCell> cell; // set when the control is a table
    std::optional<FieldPlace> place; // none for a table row the block holds nothing for
};

// A check box's value.
inline constexpr std::string_view kFieldOn = "вкл";
inline constexpr std::string_view kFieldOff = "выкл";
std::string OnOffText(bool on);

// A byte in two hexadecimal digits, as the compare shows reserved bytes: "0A".
std::string HexByte(std::uint8_t value);

// The text of the item a list shows: "" for none or an index past the items.
std::string ItemText(std::span<const std::string_view> items, std::optional<int> index);

class FieldTable {
public:
    // The blocks the places refer to, in block order.
    explicit FieldTable(std::vector<std::vector<std::uint8_t>> blocks = {});

    const std::vector<Field>& fields() const { return fields_; }
    const std::vector<FieldPlace>& reserved() const { return reserved_; }
    const std::vector<std::vector<std::uint8_t>>& blocks() const { return blocks_; }

    // Fields are added in the window's order; `page` stays until the next Page.
    void Page(std::string_view page) { page_ = page; }
    // A place of none: a value that lives in another field's bytes.
    Field& Add(std::string id, std::string_view label, std::string value,
               std::optional<FieldPlace> place, std::string_view control = {});
    // A table row's field, which may have no place.
    Field& AddCell(std::string id, std::string_view label, std::string value,
                   std::optional<FieldPlace> place, std::string_view control, FieldCell cell);
    // Bytes or bits no control shows: kept as they are, compared as raw bytes.
    void Reserve(FieldPlace place);

    // Where no field and no reserved place covers a bit (`uncovered`), or two claim one
    // (`twice`), per byte; empty when every bit of every block has exactly one owner.
    struct Fault {
        std::size_t block;
        std::size_t byte;
        std::uint8_t uncovered;
        std::uint8_t twice;
        bool operator==(const Fault&) const = default;
    };
    std::vector<Fault> CoverageFaults() const;

    const Field* Find(std::string_view id) const;

private:
    std::vector<std::vector<std::uint8_t>> blocks_;
    std::vector<Field> fields_;
    std::vector<FieldPlace> reserved_;
    std::string page_;
};

// Short forms for writing the tables.
namespace fields {
// Block 0 bytes byte..byte+length-1.
inline FieldPlace At(std::size_t byte, std::uint8_t bits = 0xFF, std::size_t length = 1) {
    return {0, byte, length, bits};
}
// "zone.3.type"
inline std::string Id(std::string_view stem, int number, std::string_view leaf) {
    return std::string(stem) + "." + std::to_string(number) + "." + std::string(leaf);
}
} // namespace fields

// One field that differs between two configurations of a type.
struct FieldDifference {
    std::string id;
    std::string page;
    std::string label;
    std::string left;
    std::string right;
    std::string control;
    std::optional<FieldCell> cell;
};

struct FieldComparison {
    std::string refusal; // set when the two cannot be compared
    std::vector<FieldDifference> differences;
};

inline constexpr std::string_view kCompareOtherTypeText =
    "Конфигурации относятся к приборам разных типов";

// The fields whose texts differ, in the order of `left`, matched by id, so table rows compare row
// by row; a field only one side has differs from "". Then the bits both sides reserve that
// differ, in block and byte order, as "raw.<block>.<byte>" with both bytes in hexadecimal. Tables
// of different types are refused.
FieldComparison CompareFields(std::uint8_t leftType, const FieldTable& left, std::uint8_t rightType,
                              const FieldTable& right);

} // namespace tesmira
