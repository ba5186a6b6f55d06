#include "model/Cp1251.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tesmira {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kUpper = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
const std::string kLower = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя";

const Bytes kUpperBytes = {0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xA8, 0xC6, 0xC7, 0xC8, 0xC9,
                           0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF, 0xD0, 0xD1, 0xD2, 0xD3, 0xD4,
                           0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF};
const Bytes kLowerBytes = {0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xB8, 0xE6, 0xE7, 0xE8, 0xE9,
                           0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4,
                           0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF};

TEST(Cp1251, RussianAlphabetBothWays) {
    EXPECT_EQ(Utf8ToCp1251(kUpper), kUpperBytes);
    EXPECT_EQ(Utf8ToCp1251(kLower), kLowerBytes);
    EXPECT_EQ(Cp1251ToUtf8(kUpperBytes), kUpper);
    EXPECT_EQ(Cp1251ToUtf8(kLowerBytes), kLower);
}

TEST(Cp1251, YoAndNumeroSignSitOutsideTheLetterBlock) {
    EXPECT_EQ(Utf8ToCp1251("ё"), Bytes{0xB8});
    EXPECT_EQ(Utf8ToCp1251("Ё"), Bytes{0xA8});
    EXPECT_EQ(Utf8ToCp1251("№"), Bytes{0xB9});
    EXPECT_EQ(Cp1251ToUtf8(Bytes{0xB8, 0xA8, 0xB9}), "ёЁ№");
    EXPECT_EQ(Utf8ToCp1251("Прибор №5"),
              (Bytes{0xCF, 0xF0, 0xE8, 0xE1, 0xEE, 0xF0, 0x20, 0xB9, 0x35}));
}

TEST(Cp1251, EventTextDecodesWithDigitsAndPunctuation) {
    const Bytes bytes = {0x31, 0x33, 0x30, 0x20, 0x2D, 0x20, 0xC2, 0xD2,
                         0xCE, 0xD0, 0xC6, 0xC5, 0xCD, 0xC8, 0xC5};
    EXPECT_EQ(Cp1251ToUtf8(bytes), "130 - ВТОРЖЕНИЕ");
    EXPECT_EQ(Utf8ToCp1251("130 - ВТОРЖЕНИЕ"), bytes);
}

TEST(Cp1251, ZeroBytesStayInTheText) {
    const std::string text = Cp1251ToUtf8(Bytes{0xC0, 0x00, 0x41});
    EXPECT_EQ(text, std::string("А\0A", 4));
    EXPECT_EQ(Utf8ToCp1251(text), (Bytes{0xC0, 0x00, 0x41}));
}

TEST(Cp1251, EveryByteSurvivesADecodeAndEncode) {
    Bytes all(256);
    for (int i = 0; i < 256; ++i) {
        all[i] = static_cast<std::uint8_t>(i);
    }
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
    EXPECT_EQ(Cp1251ToUtf8(Bytes{0x88, 0x96, 0x98, 0xA0}), "€–\u0098\u00A0");
}

TEST(Cp1251, CharactersItCannotHoldBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251("café"), (Bytes{'c', 'a', 'f', '?'}));
    EXPECT_EQ(Utf8ToCp1251("a中b"), (Bytes{'a', '?', 'b'}));
    EXPECT_EQ(Utf8ToCp1251("a\xF0\x9F\x98\x80"
                           "b"),
              (Bytes{'a', '?', 'b'}));
    EXPECT_EQ(Utf8ToCp1251("Ωmega"), (Bytes{'?', 'm', 'e', 'g', 'a'}));
    EXPECT_FALSE(FitsCp1251("café"));
    EXPECT_TRUE(FitsCp1251("Сброс установок №1 €"));
    EXPECT_TRUE(FitsCp1251(""));
}

TEST(Cp1251, MalformedUtf8IsReplacedNotDropped) {
    EXPECT_EQ(Utf8ToCp1251("a\xFF"
                           "b"),
              (Bytes{'a', '?', 'b'}));
    EXPECT_EQ(Utf8ToCp1251("\xD0"), (Bytes{'?'})); // cut short
    EXPECT_EQ(Utf8ToCp1251("\xD0"
                           "A"),
              (Bytes{'?', 'A'}));                                             // bad continuation
    EXPECT_EQ(Utf8ToCp1251("\x80"), (Bytes{'?'}));                            // lone continuation
    EXPECT_EQ(Utf8ToCp1251("\xC0\x80"), (Bytes{'?', '?'}));                   // overlong NUL
    EXPECT_EQ(Utf8ToCp1251("\xED\xA0\x80"), (Bytes{'?', '?', '?'}));          // surrogate
    EXPECT_EQ(Utf8ToCp1251("\xF4\x90\x80\x80"), (Bytes{'?', '?', '?', '?'})); // past U+10FFFF
    EXPECT_FALSE(FitsCp1251("\xD0"));
}

} // namespace
} // namespace tesmira
