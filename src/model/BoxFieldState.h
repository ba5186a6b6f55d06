// State and rules of the output matrix: which device events drive which of the six outputs.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace tesmira {

class BoxFieldState {
public:
    static constexpr int kRows = 8;    // events, bit 0 first
    static constexpr int kColumns = 6; // outputs, byte 1 first
    static constexpr int kBoxCount = kRows * kColumns;
    static constexpr int kArmingRow = 7; // "Снят\Взят"

    static constexpr std::uint8_t kAnyPartitionArmed = 0;
    static constexpr std::uint8_t kAllPartitionsArmed = 255;

    using Outputs = std::array<std::uint8_t, kColumns>;
    static constexpr Outputs kFactoryOutputs = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20};

    static constexpr std::array<std::string_view, kRows> kRowLabels = {
        "Неисправность", "Тревога", "Пожар",    "Потеря БС",
        "Сирена",        "Лампа",   "Внимание", "Снят\\Взят",
    };
    static constexpr std::array<std::string_view, kColumns> kColumnLabels = {
        "Реле1", "Реле2", "Реле3", "Реле4", "SND", "SVT",
    };

    // Box tags run 1..48 row by row: row r (0..7), column c (1..6) carries r * 6 + c.
    static constexpr int TagOf(int row, int column) { return row * kColumns + column; }
    static constexpr int RowOfTag(int tag) { return (tag - 1) / kColumns; }
    static constexpr int ColumnOfTag(int tag) { return (tag - 1) % kColumns + 1; }
    static constexpr bool TagIsValid(int tag) { return tag >= 1 && tag <= kBoxCount; }

    // Every box clear; the condition matches the "all partitions" choice shown at creation.
    BoxFieldState() = default;

    void Load(std::span<const std::uint8_t, kColumns> outputs, std::uint8_t armingCondition);
    void ResetToFactory();

    // A box was clicked into `checked`; tags outside 1..48 are ignored.
    void SetBox(int tag, bool checked);
    bool BoxChecked(int tag) const;
    bool Checked(int row, int column) const;

    void SetArmingCondition(std::uint8_t condition) { armingCondition_ = condition; }
    std::uint8_t ArmingCondition() const { return armingCondition_; }
    bool AllPartitionsRequired() const { return armingCondition_ != kAnyPartitionArmed; }

    // The arming condition matters only once some output follows the arming state.
    bool ConditionGroupVisible() const;

    const Outputs& OutputBytes() const { return outputs_; }

    bool operator==(const BoxFieldState&) const = default;

private:
    Outputs outputs_{};
    std::uint8_t armingCondition_ = kAllPartitionsArmed;
};

} // namespace tesmira
