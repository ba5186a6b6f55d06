// The phone grid's rows to and from the record's eight phone entries.
#include "gsm/PhoneTable.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace tesmira {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Area = std::array<std::uint8_t, 128>;

Bytes Entry(const Area& area, std::size_t k) {
    return Bytes(area.begin() + 16 * k, area.begin() + 16 * k + 16);
}

// 13 number bytes, then group, partition, call.
Bytes Stored(std::string_view digits, std::uint8_t group, std::uint8_t partition,
             std::uint8_t call) {
    Bytes e(digits.begin(), digits.end());
    e.resize(13, 0x00);
    e.insert(e.end(), {group, partition, call});
    return e;
}

struct StoreCase {
    PhoneRow row;
    Bytes entry;
};

TEST(PhoneTable, StoreNormalisesEachRow) {
    const StoreCase cases[] = {
        {{"+79123456789", "Группа 2", "3", "Тревоги"}, Stored("79123456789", 1, 3, 1)},
        {{"89123456789", "Группа 3", "Все", "Тревоги+Неиспр."}, Stored("79123456789", 2, 0, 2)},
        {{"+7 912 345-67-89", "Группа 1", "", "Откл"}, Stored("79123456789", 0, 0, 0)},
        {{"8 (912) 345-67-89-01-23", "", "256", ""}, Stored("7912345678901", 0, 255, 0)},
        {{"+7912345678901", "x", "-4", "y"}, Stored("7912345678901", 0, 0, 0)},
        {{"+7912345678", "5", "abc", "7"}, Stored("7912345678", 5, 0, 7)},        // shown as values
        {{"9123456789", "Группа 1", "1", "Откл"}, Stored("9123456789", 0, 1, 0)}, // the shortest
    };
    for (const StoreCase& c : cases) {
        SCOPED_TRACE(c.row.phone);
        Area area{};
        StorePhones(std::array{c.row}, area);
        EXPECT_EQ(Entry(area, 0), c.entry);
    }
}

TEST(PhoneTable, ShortNumbersTakeNoEntryAndTheRestArePacked) {
    Area area;
    area.fill(0x02);
    const std::array<PhoneRow, 3> rows = {PhoneRow{"+79120000001", "Группа 1", "1", "Откл"},
                                          PhoneRow{"912345678", "Группа 2", "2", "Тревоги"},
                                          PhoneRow{"+79120000003", "Группа 3", "3", "Откл"}};
    StorePhones(rows, area);
    EXPECT_EQ(Entry(area, 0), Stored("79120000001", 0, 1, 0));
    EXPECT_EQ(Entry(area, 1), Stored("79120000003", 2, 3, 0));
    for (std::size_t k = 2; k < 8; ++k) // no number; group, partition and call kept
        EXPECT_EQ(Entry(area, k), Stored("", 2, 2, 2)) << k;

    const PhoneRows shown = ShowPhones(area);
    EXPECT_EQ(shown[0], (PhoneRow{"+79120000001", "Группа 1", "1", "Откл"}));
    EXPECT_EQ(shown[1], (PhoneRow{"+79120000003", "Группа 3", "3", "Откл"}));
    EXPECT_EQ(shown[2], PhoneRow{});
}

TEST(PhoneTable, ShowAndStoreKeepWhatTheyDoNotKnow) {
    Area area{};
    const Bytes first = Stored("7912345678901", 7, 0, 3); // 13 digits, no terminator
    std::copy(first.begin(), first.end(), area.begin() + 16);
    const PhoneRows rows = ShowPhones(area);
    EXPECT_EQ(rows[0], PhoneRow{});
    EXPECT_EQ(rows[1], (PhoneRow{"+7912345678901", "7", "Все", "3"}));
    Area again{};
    StorePhones(rows, again);
    EXPECT_EQ(Entry(again, 0), first);
}

TEST(PhoneTable, SelectingACellOfANumberedRowFillsItsDefaults) {
    PhoneRow row{"+79123456789", "Группа 1", "", ""};
    EXPECT_EQ(SelectPhoneCell(row, PhoneColumn::Group), PhoneCellEditor::GroupChoice);
    EXPECT_EQ(row, (PhoneRow{"+79123456789", "Группа 1", "Все", "Откл"}));
    EXPECT_EQ(SelectPhoneCell(row, PhoneColumn::Call), PhoneCellEditor::CallChoice);
    PhoneRow empty;
    EXPECT_EQ(SelectPhoneCell(empty, PhoneColumn::Group), PhoneCellEditor::None);
    EXPECT_EQ(SelectPhoneCell(empty, PhoneColumn::Partition), PhoneCellEditor::Typing);
    EXPECT_EQ(empty, PhoneRow{});
}

} // namespace
} // namespace tesmira
