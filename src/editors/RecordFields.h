// The field tables of the one-record types: every control of their windows as a named field.
#pragma once

#include "model/FieldTable.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tesmira {

class FiveZonePanelRecord;
class PanelRecord;
class RepeaterRecord34;
class RepeaterRecord35;
class TwoLoopRecord;

FieldTable TwoLoopFields(const TwoLoopRecord& record);
FieldTable PanelFields(const PanelRecord& record);
FieldTable FiveZonePanelFields(const FiveZonePanelRecord& record);
FieldTable RepeaterFields(const RepeaterRecord34& record);
FieldTable RepeaterFields(const RepeaterRecord35& record);

using fields::At;
using fields::Id;
inline std::vector<std::uint8_t> BlockOf(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

// The objects window's rows of a repeater: entry n's type and number, "object.<n>.type" and
// "object.<n>.number", from record byte `first`.
void AddObjectFields(FieldTable& table, std::span<const std::uint8_t> objects, std::size_t first);

} // namespace tesmira
