#include "model/BitHelpers.h"
#include "model/BoxFieldState.h"

#include <gtest/gtest.h>

namespace tesmira {
namespace {

using Outputs = BoxFieldState::Outputs;

TEST(BitHelpers, SetAndClearTouchOneBitOnly) {
    std::uint8_t value = 0x21;
    SetBit(value, 7);
    EXPECT_EQ(value, 0xA1);
    ClearBit(value, 5);
    EXPECT_EQ(value, 0x81);
    ClearBit(value, 5); // already clear: stays clear
    EXPECT_EQ(value, 0x81);
    AssignBit(value, 0, false);
    EXPECT_EQ(value, 0x80);
    AssignBit(value, 3, true);
    EXPECT_EQ(value, 0x88);
    EXPECT_TRUE(BitIsSet(0x80, 7));
    EXPECT_FALSE(BitIsSet(0x7F, 7));
    EXPECT_TRUE(BitIsSet(0x01, 0));
}

TEST(BitHelpers, BitNumbersOutsideTheByteAreIgnored) {
    std::uint8_t value = 0x5A;
    SetBit(value, 8);
    SetBit(value, -1);
    ClearBit(value, 8);
    ClearBit(value, 31);
    SetBit(value, 100);
    EXPECT_EQ(value, 0x5A);
    EXPECT_FALSE(BitIsSet(0xFF, 8));
    EXPECT_FALSE(BitIsSet(0xFF, -1));
    EXPECT_FALSE(BitIsSet(0xFF, 64));
}

TEST(BoxFieldState, TagsRunRowByRowFromOne) {
    EXPECT_EQ(BoxFieldState::TagOf(0, 1), 1);
    EXPECT_EQ(BoxFieldState::TagOf(0, 6), 6);
    EXPECT_EQ(BoxFieldState::TagOf(1, 1), 7);
    EXPECT_EQ(BoxFieldState::TagOf(7, 6), 48);
    EXPECT_EQ(BoxFieldState::RowOfTag(6), 0);
    EXPECT_EQ(BoxFieldState::ColumnOfTag(6), 6);
    EXPECT_EQ(BoxFieldState::RowOfTag(7), 1);
    EXPECT_EQ(BoxFieldState::ColumnOfTag(7), 1);
    EXPECT_EQ(BoxFieldState::RowOfTag(43), 7);
    EXPECT_EQ(BoxFieldState::ColumnOfTag(43), 1);
}

TEST(BoxFieldState, BoxSetsTheRowBitOfItsColumnByte) {
    BoxFieldState state;
    state.SetBox(8, true); // "Тревога" drives "Реле2"
    EXPECT_EQ(state.OutputBytes(), (Outputs{0x00, 0x02, 0x00, 0x00, 0x00, 0x00}));
    state.SetBox(43, true); // "Снят\Взят" drives "Реле1"
    state.SetBox(48, true); // "Снят\Взят" drives "SVT"
    EXPECT_EQ(state.OutputBytes(), (Outputs{0x80, 0x02, 0x00, 0x00, 0x00, 0x80}));
    EXPECT_TRUE(state.BoxChecked(48));
    EXPECT_TRUE(state.Checked(7, 6));
    EXPECT_FALSE(state.Checked(7, 5));

    const std::uint8_t ones[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    state.Load(ones, 0);
    state.SetBox(43, false);
    state.SetBox(18, false); // row 2, column 6
    EXPECT_EQ(state.OutputBytes(), (Outputs{0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFB}));
}

TEST(BoxFieldState, TagsOutsideTheMatrixChangeNothing) {
    BoxFieldState state;
    const BoxFieldState before = state;
    state.SetBox(0, true);
    state.SetBox(49, true);
    state.SetBox(-6, true);
    EXPECT_EQ(state, before);
    EXPECT_FALSE(state.BoxChecked(0));
    EXPECT_FALSE(state.BoxChecked(49));
    EXPECT_FALSE(state.Checked(8, 1));
    EXPECT_FALSE(state.Checked(0, 0));
    EXPECT_FALSE(state.Checked(0, 7));
}

TEST(BoxFieldState, ConditionMattersOnlyWhenAnOutputFollowsArming) {
    BoxFieldState state;
    EXPECT_FALSE(state.ConditionGroupVisible());
    const std::uint8_t noArming[6] = {0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F};
    state.Load(noArming, 0);
    EXPECT_FALSE(state.ConditionGroupVisible());
    state.SetBox(47, true); // row 7, column 5
    EXPECT_TRUE(state.ConditionGroupVisible());
    state.SetBox(45, true);
    state.SetBox(47, false);
    EXPECT_TRUE(state.ConditionGroupVisible());
    state.SetBox(45, false);
    EXPECT_FALSE(state.ConditionGroupVisible());
}

TEST(BoxFieldState, FactoryResetAndArmingCondition) {
    BoxFieldState state;
    const std::uint8_t mixed[6] = {0x81, 0x00, 0x42, 0x00, 0x00, 0xFF};
    state.Load(mixed, 0);
    EXPECT_FALSE(state.AllPartitionsRequired());
    EXPECT_EQ(state.OutputBytes(), (Outputs{0x81, 0x00, 0x42, 0x00, 0x00, 0xFF}));
    state.ResetToFactory();
    EXPECT_EQ(state.OutputBytes(), (Outputs{0x01, 0x02, 0x04, 0x08, 0x10, 0x20}));
    EXPECT_EQ(state.ArmingCondition(), 255);
    EXPECT_FALSE(state.ConditionGroupVisible());
    // Any nonzero condition reads as "all partitions".
    state.SetArmingCondition(7);
    EXPECT_TRUE(state.AllPartitionsRequired());
}

} // namespace
} // namespace tesmira
