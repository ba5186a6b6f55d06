// The objects window's table: which entry sits in which cell, what the cells show, which cells
// open the number dialog, the count, and the copies from and to a record.
#include "editors/ObjectList.h"

#include <gtest/gtest.h>

#include <vector>

namespace tesmira {
namespace {

TransmitterEntry Done(const TransmitterEntry& entry) {
    return TransmitterNumberEdit(entry).Accept();
}

TEST(ObjectList, FourteenEmptyEntries) {
    const ObjectList list(14);
    EXPECT_EQ(list.DataRowCount(), 7);
    EXPECT_EQ(list.CountLabelText(), "Объектов:0");
    for (int row = 1; row <= 7; ++row) {
        EXPECT_EQ(list.CellText(row, 1), "");
        EXPECT_EQ(list.CellText(row, 5), "");
        EXPECT_EQ(list.CellImage(row, 2), 0);
        EXPECT_EQ(list.CellImage(row, 6), 0);
    }
    EXPECT_EQ(list.CellText(1, 0), "1");
    EXPECT_EQ(list.CellText(1, 4), "8");
    EXPECT_EQ(list.CellText(7, 4), "14");
    EXPECT_EQ(list.CellText(0, 5), "Эф.номер");
    EXPECT_EQ(list.CellText(0, 0), "");
    EXPECT_EQ(list.CellImage(1, 1), std::nullopt);
}

TEST(ObjectList, CellsOfTheEntries) {
    struct Row {
        std::size_t count;
        int row;
        int column;
        std::optional<std::size_t> entry;
    };
    const Row rows[] = {
        {14, 1, 0, 0},  {14, 1, 2, 0},   {14, 1, 4, 7},  {14, 1, 5, 7}, // entry 8: row 1, right
        {14, 7, 1, 6},  {14, 7, 6, 13},  {14, 1, 3, {}}, {14, 0, 1, {}},  {14, 8, 1, {}},
        {14, 1, 7, {}}, {14, -1, 1, {}}, {32, 1, 5, 16}, {32, 16, 6, 31}, {32, 17, 1, {}},
    };
    for (const Row& row : rows) {
        const ObjectList list(row.count);
        EXPECT_EQ(list.EntryAt(row.row, row.column), row.entry) << row.row << "," << row.column;
        if (row.entry) {
            const ObjectList::Cell cell = list.CellOf(*row.entry);
            EXPECT_EQ(cell.row, row.row);
            EXPECT_EQ(cell.firstColumn, row.column < 4 ? 0 : 4);
        }
    }
}

TEST(ObjectList, OnlyNumberAndImageCellsOpenTheDialog) {
    ObjectList list(14);
    for (int row = 0; row <= 1; ++row) {
        for (int column = 0; column < ObjectList::kColumnCount; ++column) {
            bool asked = false;
            const bool opened = list.SelectCell(row, column, [&asked](const TransmitterEntry& e) {
                asked = true;
                return e;
            });
            const bool opens =
                row == 1 && (column == 1 || column == 2 || column == 5 || column == 6);
            EXPECT_EQ(asked, opens) << row << "," << column;
            EXPECT_EQ(opened, opens) << row << "," << column;
            EXPECT_EQ(ObjectList::SelectionMoves(row, column), row == 0 || column == 0);
        }
    }
}

TEST(ObjectList, DoneWithoutChangeClearsTheUnusedBits) {
    std::vector<std::uint8_t> objects(42, 0);
    const std::vector<std::uint8_t> first = {0x3C, 0x12, 0x34};  // type 0 with bits 2..5 set
    const std::vector<std::uint8_t> eighth = {0xBD, 0x12, 0x34}; // type 1 with bits 2..5 set
    std::copy(first.begin(), first.end(), objects.begin());
    std::copy(eighth.begin(), eighth.end(), objects.begin() + 21);
    ObjectList list(14);
    ASSERT_TRUE(list.LoadEntries(objects));
    EXPECT_EQ(list.ActiveCount(), 1); // the number without a type is not counted
    EXPECT_EQ(ObjectList::ActiveCountOf(objects), 1);
    EXPECT_EQ(ObjectList::ActiveCountOf(std::span(objects).last(21)), 1);
    EXPECT_EQ(ObjectList::ActiveCountOf(std::span(objects).first(23)), 0); // no part of entry 8
    EXPECT_EQ(list.CellText(1, 1), "");
    EXPECT_EQ(list.CellText(1, 5), "21234");
    EXPECT_EQ(list.CellImage(1, 6), 1);

    EXPECT_TRUE(list.SelectCell(1, 5, Done));
    EXPECT_TRUE(list.SelectCell(1, 2, Done));
    EXPECT_EQ(list.Entry(7), (TransmitterEntry{0x81, 0x12, 0x34}));
    EXPECT_EQ(list.Entry(0), (TransmitterEntry{0x00, 0x00, 0x00}));
    EXPECT_EQ(list.CountLabelText(), "Объектов:1");
}

TEST(ObjectList, CopiesNeedTheWholeTable) {
    ObjectList list(14);
    EXPECT_FALSE(list.LoadEntries(std::vector<std::uint8_t>(41, 0x41)));
    EXPECT_FALSE(list.LoadEntries(std::vector<std::uint8_t>(43, 0x41)));
    EXPECT_EQ(list.ActiveCount(), 0);
    std::vector<std::uint8_t> longDestination(43, 0xEE);
    EXPECT_FALSE(list.StoreEntries(longDestination));
    EXPECT_EQ(longDestination, std::vector<std::uint8_t>(43, 0xEE));
}

} // namespace
} // namespace tesmira
