// The caption grid's rows to and from the caption block, and the grid's editing rules.
#include "gsm/CaptionBlock.h"
#include "support/HexBytes.h"

#include <gtest/gtest.h>

namespace tesmira {
namespace {

using test::Hex;
using Bytes = std::vector<std::uint8_t>;

TEST(CaptionBlock, BuildFromRows) {
    const struct {
        std::vector<CaptionRow> rows;
        const char* block;
    } cases[] = {
        {{{"Шлейф", "1", ""}, {"", "1", "a"}, {"Шлейф", "", "a"}, {}}, "00 01 00 04"},
        {{{"Шлейф", "12", "Дверь"}}, "01 01 00 0C 01 0C 05 C4 E2 E5 F0 FC"},
        // numbers past a byte, below 0 or none are 1
        {{{"Раздел", "300", "a"}, {"Пользователь", "-3", "b"}, {"Шлейф", "x", "c"}},
         "03 01 00 10 00 01 01 61 01 01 01 63 02 01 01 62"},
        {{{"Раздел", "0", "абвгдежзийклмнопрсту"}},
         "01 01 00 17 00 00 10 E0 E1 E2 E3 E4 E5 E6 E7 E8 E9 EA EB EC ED EE EF"},
        // by type, number, then name without regard to case
        {{{"Шлейф", "5", "z"},
          {"Раздел", "2", "p"},
          {"Шлейф", "1", "ABD"},
          {"Шлейф", "1", "abc"},
          {"Шлейф", "1", "Бык"},
          {"Шлейф", "1", "арка"}},
         "06 01 00 25 00 02 01 70 01 01 03 61 62 63 01 01 03 41 42 44 01 01 04 E0 F0 EA E0"
         " 01 01 03 C1 FB EA 01 05 01 7A"},
        // events by their text or the code in it; a type no name has is a partition
        {{{"Соб.Норма", "130 - ВТОРЖЕНИЕ", "n"},
          {"Соб.Тревога.", "110", "f"},
          {"Соб.Тревога.", "ab", "x"},
          {"Тип?", "7", "t"}},
         "04 01 00 14 00 07 01 74 03 00 01 78 03 04 01 66 04 13 01 6E"},
    };
    for (const auto& [rows, block] : cases) {
        SCOPED_TRACE(block);
        EXPECT_EQ(BuildCaptionBlock(rows), Hex(block));
    }
}

TEST(CaptionBlock, ShowStopsAtTheFirstBadEntryTheBlockEndAndTheLastRow) {
    CaptionRows rows = ShowCaptionBlock(Hex("03 01 00 0F 01 02 01 61 01 03 00 01 04 01 62"));
    EXPECT_EQ(rows[0], (CaptionRow{"Шлейф", "2", "a"}));
    EXPECT_EQ(rows[1], CaptionRow{}); // the second entry's name length is 0

    // A name of 16 bytes, the most, and the entry after it.
    rows = ShowCaptionBlock(
        Hex("02 01 00 1B 01 05 10 61 62 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F 70 02 03 01 75"));
    EXPECT_EQ(rows[0], (CaptionRow{"Шлейф", "5", "abcdefghijklmnop"}));
    EXPECT_EQ(rows[1], (CaptionRow{"Пользователь", "3", "u"}));

    // 120 entries of 4 bytes, the count byte saying 255.
    Bytes many = Hex("FF 01 01 E4");
    for (int i = 0; i < 120; ++i)
        many.insert(many.end(), {0x02, static_cast<std::uint8_t>(i), 0x01, 'u'});
    EXPECT_EQ(ShowCaptionBlock(many)[98], (CaptionRow{"Пользователь", "98", "u"}));
    many[2] = 0x00;
    many[3] = 0x0C; // the header ends the block after two entries
    EXPECT_EQ(ShowCaptionBlock(many)[2], CaptionRow{});
    many[2] = 0x01; // the block runs past the bytes there are
    rows = ShowCaptionBlock(std::span(many).first(13));
    EXPECT_EQ(rows[1].number, "1");
    EXPECT_EQ(rows[2], CaptionRow{});
}

TEST(CaptionBlock, EventEntriesWithoutABoxItemSurviveShowAndBuild) {
    const Bytes block = Hex("04 01 00 14 03 00 01 61 03 13 01 62 03 F0 01 63 04 F9 01 64");
    const CaptionRows rows = ShowCaptionBlock(block);
    EXPECT_EQ(rows[0].number, "0 - НЕИЗВЕСТ.КОД");
    EXPECT_EQ(rows[1].number, "130 - ВТОРЖЕНИЕ"); // the box's item for event 19
    EXPECT_EQ(rows[2].number, "0 - CID_940");
    EXPECT_EQ(rows[3].number, "654 - ВХ.БУФ.ПЕРЕП"); // not event 225, which has the same code
    EXPECT_EQ(BuildCaptionBlock(rows), block);
}

TEST(CaptionTable, TakesABlockOfTheLargestSize) {
    Bytes largest = Hex("00 01 08 00");
    largest.resize(2048, 0x00);
    CaptionTable t;
    EXPECT_TRUE(t.AssignBlock(largest));
    EXPECT_EQ(t.block().size(), 2048u);
}

TEST(CaptionTable, ChoosingATypeGivesTheNumberItsDefault) {
    CaptionTable t;
    t.ChooseType(0, "Шлейф");
    EXPECT_EQ(t.rows()[0].number, "1");
    t.rows()[2] = {"Шлейф", "7", "x"};
    t.ChooseType(3, "Шлейф");
    EXPECT_EQ(t.rows()[3], (CaptionRow{"Шлейф", "8", ""}));
    t.rows()[3].number = "12";
    t.ChooseType(3, "Шлейф"); // the type the row has: its number stays
    EXPECT_EQ(t.rows()[3].number, "12");
    t.ChooseType(4, "Соб.Тревога.");
    EXPECT_EQ(t.rows()[4].number, "100 - МЕД.ТРЕВОГА");
    t.ChooseType(5, "Раздел"); // under an event number, which is no integer
    EXPECT_EQ(t.rows()[5].number, "1");
    t.ChooseType(6, "Зона");
    EXPECT_EQ(t.rows()[6], CaptionRow{});
    t.ChooseEvent(4, ""); // nothing chosen
    EXPECT_EQ(t.rows()[4].number, "100 - МЕД.ТРЕВОГА");
}

TEST(CaptionTable, CellEditorsFollowTheRowType) {
    CaptionTable t;
    t.rows()[0] = {"Соб.Норма", "100 - МЕД.ТРЕВОГА", ""};
    t.rows()[1] = {"Шлейф", "", ""};
    const CaptionCellEditor editors[] = {t.SelectCell(2, 0), t.SelectCell(2, 2), t.SelectCell(0, 1),
                                         t.SelectCell(0, 2), t.SelectCell(1, 1)};
    EXPECT_EQ(std::vector(std::begin(editors), std::end(editors)),
              (std::vector{CaptionCellEditor::TypeChoice, CaptionCellEditor::None,
                           CaptionCellEditor::EventChoice, CaptionCellEditor::Typing,
                           CaptionCellEditor::Typing}));
}

} // namespace
} // namespace tesmira
