#include "gsm/EventSelection.h"

#include "model/BitHelpers.h"
#include "model/EventTable.h"

#include <algorithm>

namespace tesmira {

namespace {

constexpr std::array<std::string_view, 3> kGroupTexts = {"Группа 1", "Группа 2", "Группа 3"};

bool Listed(int event) {
    return event >= 0 && event < static_cast<int>(kEventRowCount) &&
           EventRowAt(static_cast<std::uint8_t>(event)).listed == 1;
}

} // namespace

std::span<const std::string_view> EventSelection::GroupTexts() {
    return kGroupTexts;
}

EventSelection::EventSelection() {
    SetDefaults();
}

void EventSelection::Show(std::span<const std::uint8_t, kSize> bytes) {
    std::copy(bytes.begin(), bytes.end(), bytes_.begin());
}

void EventSelection::Store(std::span<std::uint8_t, kSize> bytes) const {
    std::copy(bytes_.begin(), bytes_.end(), bytes.begin());
}

void EventSelection::SelectGroup(int group) {
    if (group >= 0 && group < kGroupCount)
        group_ = group;
}

std::size_t EventSelection::FieldStart(Kind kind) const {
    return static_cast<std::size_t>(group_) * 2 * kFieldSize +
           (kind == Kind::Restoration ? kFieldSize : 0);
}

bool EventSelection::IsSet(int event, Kind kind) const {
    if (event < 0 || event > 255)
        return false;
    return BitIsSet(bytes_[FieldStart(kind) + static_cast<std::size_t>(event / 8)], event % 8);
}

void EventSelection::Set(int event, Kind kind, bool on) {
    if (event >= 0 && event <= 255)
        AssignBit(bytes_[FieldStart(kind) + static_cast<std::size_t>(event / 8)], event % 8, on);
}

bool EventSelection::Toggle(int row, Column column) {
    if (row < 1 || row > kRowCount)
        return false;
    if (column != Column::Violation && column != Column::Restoration)
        return false;
    const Kind kind = column == Column::Violation ? Kind::Violation : Kind::Restoration;
    Set(row, kind, !IsSet(row, kind));
    return true;
}

void EventSelection::Fill(int tag) {
    if (tag < SelectViolations || tag > ClearRestorations)
        return;
    const Kind kind = tag <= ClearViolations ? Kind::Violation : Kind::Restoration;
    const std::uint8_t value = tag == SelectViolations || tag == SelectRestorations ? 0xFF : 0x00;
    std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(FieldStart(kind)), kFieldSize, value);
}

std::string EventSelection::EventCodeText(int event) {
    return Listed(event) ? std::to_string(EventCode(static_cast<std::uint8_t>(event))) : "0";
}

std::string_view EventSelection::EventDescription(int event) {
    return Listed(event) ? EventName(static_cast<std::uint8_t>(event)) : std::string_view();
}

std::string EventSelection::CellText(int row, Column column) const {
    if (row < 1 || row > kRowCount)
        return {};
    switch (column) {
    case Column::Code:
        return EventCodeText(row);
    case Column::Description:
        return std::string(EventDescription(row));
    case Column::Violation:
        return IsSet(row, Kind::Violation) ? "1" : "";
    case Column::Restoration:
        return IsSet(row, Kind::Restoration) ? "1" : "";
    }
    return {};
}

} // namespace tesmira
