// The caption grid's rows to and from the caption block, and the grid's editing rules.
#include "gsm/CaptionBlock.h"

#include <gtest/gtest.h>

namespace tesmira {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct BuildCase {
    const char* what;
    std::vector<CaptionRow> rows;
    Bytes block;
};

TEST(CaptionBlock, BuildFromRows) {
    const BuildCase cases[] = {
        {"empty grid", {}, {0x00, 0x01, 0x00, 0x04}},
        {"one zone",
         {{"Шлейф", "12", "Дверь"}},
         {0x01, 0x01, 0x00, 0x0C, 0x01, 0x0C, 0x05, 0xC4, 0xE2, 0xE5, 0xF0, 0xFC}},
        {"numbers past a byte or below 0 are 1",
         {{"Раздел", "300", "a"}, {"Пользователь", "-3", "b"}, {"Шлейф", "x", "c"}},
         {0x03, 0x01, 0x00, 0x10, 0x00, 0x01, 0x01, 'a', 0x01, 0x01, 0x01, 'c', 0x02, 0x01, 0x01,
          'b'}},
        {"incomplete rows are left out",
         {{"Шлейф", "1", ""}, {"", "1", "a"}, {"Шлейф", "", "a"}, {}},
         {0x00, 0x01, 0x00, 0x04}},
        {"names cut to 16 bytes",
         {{"Раздел", "0", "абвгдежзийклмнопрсту"}},
         {0x01, 0x01, 0x00, 0x17, 0x00, 0x00, 0x10, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4,
          0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF}},
        {"sorted by type, number, then name without regard to case",
         {{"Шлейф", "5", "z"},
          {"Раздел", "2", "p"},
          {"Шлейф", "1", "ABD"},
          {"Шлейф", "1", "abc"},
          {"Шлейф", "1", "Бык"},
          {"Шлейф", "1", "арка"}},
         {0x06, 0x01, 0x00, 0x25, 0x00, 0x02, 0x01, 'p',  0x01, 0x01, 0x03, 'a',  'b',
          'c',  0x01, 0x01, 0x03, 'A',  'B',  'D',  0x01, 0x01, 0x04, 0xE0, 0xF0, 0xEA,
          0xE0, 0x01, 0x01, 0x03, 0xC1, 0xFB, 0xEA, 0x01, 0x05, 0x01, 'z'}},
        {"events by their code",
         {{"Соб.Норма", "130 - ВТОРЖЕНИЕ", "n"},
          {"Соб.Тревога.", "110", "f"},
          {"Соб.Тревога.", "ab", "x"},
          {"Тип?", "7", "t"}},
         {0x04, 0x01, 0x00, 0x14, 0x00, 0x07, 0x01, 't',  0x03, 0x00,
          0x01, 'x',  0x03, 0x04, 0x01, 'f',  0x04, 0x13, 0x01, 'n'}},
    };
    for (const BuildCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(BuildCaptionBlock(c.rows), c.block);
    }
}

TEST(CaptionBlock, ShowStopsAtTheFirstBadEntryTheBlockEndAndTheLastRow) {
    const Bytes secondEmpty = {0x03, 0x01, 0x00, 0x0F, 0x01, 0x02, 0x01, 'a',
                               0x01, 0x03, 0x00, 0x01, 0x04, 0x01, 'b'};
    CaptionRows rows = ShowCaptionBlock(secondEmpty);
    EXPECT_EQ(rows[0], (CaptionRow{"Шлейф", "2", "a"}));
    EXPECT_EQ(rows[1], CaptionRow{});

    // 120 entries of 4 bytes, the count byte saying 255.
    Bytes many = {0xFF, 0x01, 0x01, 0xE4};
    for (int i = 0; i < 120; ++i)
        many.insert(many.end(), {0x02, static_cast<std::uint8_t>(i), 0x01, 'u'});
    rows = ShowCaptionBlock(many);
    EXPECT_EQ(rows[98], (CaptionRow{"Пользователь", "98", "u"}));
    many[2] = 0x00;
    many[3] = 0x0C; // the header now ends the block after two entries
    rows = ShowCaptionBlock(many);
    EXPECT_EQ(rows[1].number, "1");
    EXPECT_EQ(rows[2], CaptionRow{});
    many[2] = 0x01; // past the bytes there are: the last whole entry is shown
    rows = ShowCaptionBlock(std::span(many).first(13));
    EXPECT_EQ(rows[1].number, "1");
    EXPECT_EQ(rows[2], CaptionRow{});
    EXPECT_EQ(ShowCaptionBlock(Bytes{0x01, 0x01, 0x00}), CaptionRows{});
}

TEST(CaptionBlock, EventEntriesWithoutABoxItemSurviveShowAndBuild) {
    const Bytes block = {0x04, 0x01, 0x00, 0x14, 0x03, 0x00, 0x01, 'a',  0x03, 0x13,
                         0x01, 'b',  0x03, 0xF0, 0x01, 'c',  0x04, 0xF9, 0x01, 'd'};
    const CaptionRows rows = ShowCaptionBlock(block);
    EXPECT_EQ(rows[0].number, "0 - НЕИЗВЕСТ.КОД");
    EXPECT_EQ(rows[1].number, "130 - ВТОРЖЕНИЕ"); // the box's item for event 19
    EXPECT_EQ(rows[2].number, "0 - CID_940");
    EXPECT_EQ(rows[3].number, "654 - ВХ.БУФ.ПЕРЕП"); // not event 225, which has the same code
    EXPECT_EQ(BuildCaptionBlock(rows), block);
}

TEST(CaptionTable, ChoosingATypeGivesTheNumberItsDefault) {
    CaptionTable t;
    t.ChooseType(0, "Шлейф");
    EXPECT_EQ(t.rows()[0].number, "1");
    t.rows()[2] = {"Шлейф", "7", "x"};
    t.ChooseType(3, "Шлейф");
    EXPECT_EQ(t.rows()[3], (CaptionRow{"Шлейф", "8", ""}));
    t.ChooseType(4, "Соб.Тревога.");
    EXPECT_EQ(t.rows()[4].number, "100 - МЕД.ТРЕВОГА");
    t.ChooseType(5, "Раздел"); // under an event number, which is no integer
    EXPECT_EQ(t.rows()[5].number, "1");
    t.ChooseType(6, "Зона");
    t.ChooseType(99, "Шлейф");
    EXPECT_EQ(t.rows()[6], CaptionRow{});

    t.ChooseEvent(4, "");
    EXPECT_EQ(t.rows()[4].number, "100 - МЕД.ТРЕВОГА");
    t.ChooseEvent(4, CaptionEventItems()[237]);
    EXPECT_EQ(t.rows()[4].number, "394 - ПОМЕХА");
}

TEST(CaptionTable, CellEditorsFollowTheRowType) {
    CaptionTable t;
    t.rows()[0] = {"Соб.Норма", "100 - МЕД.ТРЕВОГА", ""};
    t.rows()[1] = {"Шлейф", "", ""};
    EXPECT_EQ(t.SelectCell(2, 0), CaptionCellEditor::TypeChoice);
    EXPECT_EQ(t.SelectCell(2, 2), CaptionCellEditor::None); // no type yet
    EXPECT_EQ(t.SelectCell(0, 1), CaptionCellEditor::EventChoice);
    EXPECT_EQ(t.SelectCell(0, 2), CaptionCellEditor::Typing);
    EXPECT_EQ(t.SelectCell(1, 1), CaptionCellEditor::Typing);
    EXPECT_EQ(t.SelectCell(99, 0), CaptionCellEditor::None);
}

TEST(CaptionTable, SortKeepsCompleteRowsInOrderAndDropsTheRest) {
    CaptionTable t;
    t.rows()[0] = {"Шлейф", "5", "z"};
    t.rows()[1] = {"Шлейф", "6", "gone"};
    t.rows()[3] = {"Раздел", "2", "p"};
    t.rows()[4] = {"Шлейф", "1", ""};
    t.RemoveRow(1);
    t.Sort();
    EXPECT_EQ(t.rows()[0], (CaptionRow{"Раздел", "2", "p"}));
    EXPECT_EQ(t.rows()[1], (CaptionRow{"Шлейф", "5", "z"}));
    EXPECT_EQ(t.rows()[2], CaptionRow{});
    EXPECT_EQ(t.block().size(), 12u);
    t.Clear();
    EXPECT_EQ(t.rows()[0], CaptionRow{});
    EXPECT_EQ(t.block().size(), 12u); // until the next Build
}

} // namespace
} // namespace tesmira
