// The field tables of the one-record types: every control of their windows as a named field.
#pragma once

#include "editors/TransmitterEntry.h"
#include "model/FieldSetters.h"
#include "model/FieldTable.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
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

// Change one field of the table above by its id and the text its control would show, as that
// control's handler does; refused, with nothing changed, as FieldSetters refuses.
FieldEdit SetTwoLoopField(TwoLoopRecord& record, std::string_view id, std::string_view value);
FieldEdit SetPanelField(PanelRecord& record, std::string_view id, std::string_view value);
FieldEdit SetFiveZonePanelField(FiveZonePanelRecord& record, std::string_view id,
                                std::string_view value);
// The number dialogs open on a repeater's objects, by entry index: the dialog sets an entry's
// object type and number together, so both fields of one entry go through the same dialog.
using NumberDialogs = std::map<std::size_t, TransmitterNumberEdit>;
FieldEdit SetRepeaterField(RepeaterRecord34& record, NumberDialogs& dialogs, std::string_view id,
                           std::string_view value);
FieldEdit SetRepeaterField(RepeaterRecord35& record, NumberDialogs& dialogs, std::string_view id,
                           std::string_view value);

using fields::At;
using fields::Id;
inline std::vector<std::uint8_t> BlockOf(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

// The objects window's rows of a repeater: entry n's type and number, "object.<n>.type" and
// "object.<n>.number", from record byte `first`.
void AddObjectFields(FieldTable& table, std::span<const std::uint8_t> objects, std::size_t first);

} // namespace tesmira
