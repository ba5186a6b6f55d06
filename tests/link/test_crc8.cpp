#include "link/Crc8.h"

#include <gtest/gtest.h>

#include <string_view>

namespace tesmira {
namespace {

std::uint8_t crcOf(std::string_view text) {
    return Crc8(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

TEST(Crc8, CheckValuesMatchTheParameterModel) {
    EXPECT_EQ(Crc8(nullptr, 0), 0x00);
    const std::uint8_t one = 0x01;
    EXPECT_EQ(Crc8(&one, 1), 0x64);
    EXPECT_EQ(crcOf("123456789"), 0x56);
    EXPECT_EQ(crcOf("abc"), 0x87);
}

TEST(Crc8, TableRowsAreTheReflectedPolynomialOnes) {
    EXPECT_EQ(kCrc8Table[0x00], 0x00);
    EXPECT_EQ(kCrc8Table[0x01], 0x64);
    EXPECT_EQ(kCrc8Table[0x02], 0xC8);
    EXPECT_EQ(kCrc8Table[0x03], 0xAC);
    EXPECT_EQ(kCrc8Table[0x80], 0xB8);
    EXPECT_EQ(kCrc8Table[0xFF], 0x23);
}

TEST(Crc8, InitialValueIsZeroSoZeroBytesGiveZero) {
    const std::uint8_t zeros[4] = {};
    EXPECT_EQ(Crc8(zeros, sizeof zeros), 0x00);
}

TEST(Crc8, AppendingTheCrcGivesZeroRemainder) {
    // A reflected CRC without final XOR leaves a zero register after its own CRC byte.
    std::uint8_t frame[] = {0x7E, 0x0A, 0x52, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE3};
    EXPECT_EQ(Crc8(frame, sizeof frame), 0x00);
}

} // namespace
} // namespace tesmira
