#include "model/TextHelpers.h"

#include <gtest/gtest.h>

namespace tesmira {
namespace {

void ExpectClamped(std::string_view text, int min, int max, int fallback, int value,
                   std::optional<std::string> shown) {
    SCOPED_TRACE(std::string(text));
    const ClampedIntResult result = ClampedInt(text, min, max, fallback);
    EXPECT_EQ(result.value, value);
    EXPECT_EQ(result.correctedText, shown);
}

TEST(ClampedInt, DelayFieldCorrectsToLimitsOrFallback) {
    ExpectClamped("abc", 0, 99, 30, 30, "30");
    ExpectClamped("150", 0, 99, 30, 99, "99");
    ExpectClamped("-5", 0, 99, 30, 0, "0");
    ExpectClamped("", 0, 99, 30, 30, "30");
    ExpectClamped("100", 0, 99, 30, 99, "99");
}

TEST(ClampedInt, ValuesInRangeKeepTheTextAsTyped) {
    ExpectClamped("0", 0, 99, 30, 0, std::nullopt);
    ExpectClamped("99", 0, 99, 30, 99, std::nullopt);
    ExpectClamped("07", 0, 99, 30, 7, std::nullopt);
    ExpectClamped("+7", 0, 99, 30, 7, std::nullopt);
    ExpectClamped(" 8 ", 0, 99, 30, 8, std::nullopt);
}

TEST(ClampedInt, SirenTimeUsesItsOwnLimitsAndFallback) {
    ExpectClamped("0", 1, 600, 2, 1, "1");
    ExpectClamped("700", 1, 600, 2, 600, "600");
    ExpectClamped("x", 1, 600, 2, 2, "2");
}

TEST(ClampedInt, MalformedNumbersTakeTheFallback) {
    ExpectClamped("12abc", 0, 99, 30, 30, "30");
    ExpectClamped("1.5", 0, 99, 30, 30, "30");
    ExpectClamped("0x10", 0, 99, 30, 30, "30");
    ExpectClamped("-", 0, 99, 30, 30, "30");
    ExpectClamped("+-1", 0, 99, 30, 30, "30");
    ExpectClamped("1 2", 0, 99, 30, 30, "30");
    ExpectClamped("５", 0, 99, 30, 30, "30"); // full-width digit
}

TEST(ClampedInt, DigitsBeyondAnyIntegerClampInsteadOfFallingBack) {
    ExpectClamped("99999999999", 0, 255, 5, 255, "255");
    ExpectClamped("123456789012345678901234567890", 0, 255, 5, 255, "255");
    ExpectClamped("-123456789012345678901234567890", 0, 255, 5, 0, "0");
    ExpectClamped("2147483648", -10, 10, 0, 10, "10");
}

TEST(LineIndexOf, FindsWholeLinesOfCrLfText) {
    const std::string_view tries = "Выкл.\r\n1\r\n2\r\n3";
    EXPECT_EQ(LineIndexOf("2", tries), 2);
    EXPECT_EQ(LineIndexOf("Выкл.", tries), 0);
    EXPECT_EQ(LineIndexOf("1", tries), 1);
    EXPECT_EQ(LineIndexOf("3", tries), 3);
    EXPECT_EQ(LineIndexOf("Выкл", tries), 3);
    EXPECT_EQ(LineIndexOf("4", tries), 3);
    EXPECT_EQ(LineIndexOf("", tries), 0);
}

TEST(LineIndexOf, SeparatorsAreCrLfOnly) {
    EXPECT_EQ(LineIndexOf("b", "a\nb"), 0);
    EXPECT_EQ(LineIndexOf("b", "a\rb"), 0);
    EXPECT_EQ(LineIndexOf("c", "a\r\nb\r\n"), 2);
    EXPECT_EQ(LineIndexOf("x", ""), 0);
    EXPECT_EQ(LineIndexOf("a", "b\r\na\r\na"), 1);
    EXPECT_EQ(LineIndexOf("a", "\r\n\r\na"), 2);
}

} // namespace
} // namespace tesmira
