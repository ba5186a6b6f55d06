#include "model/BoxFieldState.h"

#include "model/BitHelpers.h"

#include <algorithm>

namespace tesmira {

void BoxFieldState::Load(std::span<const std::uint8_t, kColumns> outputs,
                         std::uint8_t armingCondition) {
    std::copy(outputs.begin(), outputs.end(), outputs_.begin());
    armingCondition_ = armingCondition;
}

void BoxFieldState::ResetToFactory() {
    outputs_ = kFactoryOutputs;
    armingCondition_ = kAllPartitionsArmed;
}

void BoxFieldState::SetBox(int tag, bool checked) {
    if (!TagIsValid(tag)) {
        return;
    }
    AssignBit(outputs_[ColumnOfTag(tag) - 1], RowOfTag(tag), checked);
}

bool BoxFieldState::BoxChecked(int tag) const {
    return TagIsValid(tag) && BitIsSet(outputs_[ColumnOfTag(tag) - 1], RowOfTag(tag));
}

bool BoxFieldState::Checked(int row, int column) const {
    if (row < 0 || row >= kRows || column < 1 || column > kColumns) {
        return false;
    }
    return BoxChecked(TagOf(row, column));
}

bool BoxFieldState::ConditionGroupVisible() const {
    return std::any_of(outputs_.begin(), outputs_.end(),
                       [](std::uint8_t output) { return BitIsSet(output, kArmingRow); });
}

} // namespace tesmira
