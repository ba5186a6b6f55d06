#include "model/FieldTable.h"

#include <cstdio>
#include <map>
#include <unordered_map>
#include <utility>

namespace tesmira {

std::string HexByte(std::uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

std::string OnOffText(bool on) {
    return std::string(on ? kFieldOn : kFieldOff);
}

std::string ItemText(std::span<const std::string_view> items, std::optional<int> index) {
    if (!index || *index < 0 || static_cast<std::size_t>(*index) >= items.size())
        return {};
    return std::string(items[static_cast<std::size_t>(*index)]);
}

FieldTable::FieldTable(std::vector<std::vector<std::uint8_t>> blocks)
    : blocks_(std::move(blocks)) {}

Field& FieldTable::Add(std::string id, std::string_view label, std::string value,
                       std::optional<FieldPlace> place, std::string_view control) {
    fields_.push_back({std::move(id), page_, std::string(label), std::move(value),
                       std::string(control), std::nullopt, place});
    return fields_.back();
}

Field& FieldTable::AddCell(std::string id, std::string_view label, std::string value,
                           std::optional<FieldPlace> place, std::string_view control,
                           FieldCell cell) {
    fields_.push_back({std::move(id), page_, std::string(label), std::move(value),
                       std::string(control), cell, place});
    return fields_.back();
}

void FieldTable::Reserve(FieldPlace place) {
    reserved_.push_back(place);
}

std::vector<FieldTable::Fault> FieldTable::CoverageFaults() const {
    std::vector<std::vector<std::uint8_t>> owned(blocks_.size());
    std::vector<std::vector<std::uint8_t>> twice(blocks_.size());
    std::vector<Fault> faults;
    const auto claim = [&](const FieldPlace& place) {
        for (std::size_t k = 0; k < place.length; ++k) {
            const std::size_t at = place.byte + k;
            if (place.block >= blocks_.size() || at >= blocks_[place.block].size()) {
                // A place past its block is a fault of its own: reported as a byte no one owns.
                faults.push_back({place.block, at, k == 0 ? place.bits : std::uint8_t{0xFF}, 0});
                continue;
            }
            if (owned[place.block].empty()) {
                owned[place.block].assign(blocks_[place.block].size(), 0);
                twice[place.block].assign(blocks_[place.block].size(), 0);
            }
            const std::uint8_t bits = k == 0 ? place.bits : 0xFF;
            twice[place.block][at] |= owned[place.block][at] & bits;
            owned[place.block][at] |= bits;
        }
    };
    for (const Field& field : fields_) {
        if (field.place)
            claim(*field.place);
    }
    for (const FieldPlace& place : reserved_)
        claim(place);
    for (std::size_t block = 0; block < blocks_.size(); ++block) {
        for (std::size_t at = 0; at < blocks_[block].size(); ++at) {
            const std::uint8_t mine = owned[block].empty() ? 0 : owned[block][at];
            const std::uint8_t two = owned[block].empty() ? 0 : twice[block][at];
            if (mine != 0xFF || two != 0)
                faults.push_back({block, at, static_cast<std::uint8_t>(~mine), two});
        }
    }
    return faults;
}

const Field* FieldTable::Find(std::string_view id) const {
    for (const Field& field : fields_) {
        if (field.id == id)
            return &field;
    }
    return nullptr;
}

FieldComparison CompareFields(std::uint8_t leftType, const FieldTable& left, std::uint8_t rightType,
                              const FieldTable& right) {
    FieldComparison result;
    if (leftType != rightType) {
        result.refusal = kCompareOtherTypeText;
        return result;
    }
    std::unordered_map<std::string_view, const Field*> rightById;
    for (const Field& field : right.fields())
        rightById.emplace(field.id, &field);
    for (const Field& field : left.fields()) {
        const auto found = rightById.find(field.id);
        const std::string empty;
        const std::string& other = found == rightById.end() ? empty : found->second->value;
        if (found != rightById.end())
            rightById.erase(found);
        if (field.value != other)
            result.differences.push_back(
                {field.id, field.page, field.label, field.value, other, field.control, field.cell});
    }
    // Rows only the right side has, in its order.
    for (const Field& field : right.fields()) {
        if (rightById.contains(field.id) && !field.value.empty())
            result.differences.push_back(
                {field.id, field.page, field.label, {}, field.value, field.control, field.cell});
    }
    // Bits both sides reserve: where a table row's entries lie differs between the sides.
    const auto reservedBits = [](const FieldTable& table) {
        std::map<std::pair<std::size_t, std::size_t>, std::uint8_t> bits;
        for (const FieldPlace& place : table.reserved()) {
            for (std::size_t k = 0; k < place.length; ++k)
                bits[{place.block, place.byte + k}] |= k == 0 ? place.bits : 0xFF;
        }
        return bits;
    };
    const auto theirs = reservedBits(right);
    for (const auto& [at, mine] : reservedBits(left)) {
        const auto other = theirs.find(at);
        if (other == theirs.end())
            continue;
        const auto& [block, byte] = at;
        if (block >= left.blocks().size() || byte >= left.blocks()[block].size() ||
            block >= right.blocks().size() || byte >= right.blocks()[block].size())
            continue;
        const std::uint8_t a = left.blocks()[block][byte];
        const std::uint8_t b = right.blocks()[block][byte];
        if (((a ^ b) & mine & other->second) == 0)
            continue;
        result.differences.push_back(
            {"raw." + std::to_string(block) + "." + std::to_string(byte), "",
             "Байт " + std::to_string(byte) + " блока " + std::to_string(block + 1), HexByte(a),
             HexByte(b), "", std::nullopt});
    }
    return result;
}

} // namespace tesmira
