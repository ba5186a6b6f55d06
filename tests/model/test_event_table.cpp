#include "model/EventTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace tesmira {
namespace {

struct ExpectedRow {
    int index;
    int code;
    const char* name;
    int userEvent;
    int listed;
};

// Values as the event list gives them, written out by hand.
const ExpectedRow kSpotChecks[] = {
    {0, 0, "НЕИЗВЕСТ.КОД", 0, 0},     {1, 100, "МЕД.ТРЕВОГА", 0, 1},
    {9, 115, "ПОЖАР.КНОПКА", 1, 1},   {19, 130, "ВТОРЖЕНИЕ", 0, 1},
    {75, 324, "РЕЛЕ НЕИСПР ", 0, 1},  {76, 325, "РЕЛЕ РЕВЕРС ", 0, 1},
    {124, 401, "СНЯТ ПОЛЬЗ.", 1, 1},  {133, 441, "СНЯТ С ПОЛЬЗ", 1, 1},
    {134, 442, "СНЯТ С ПОЛЬЗ", 1, 1}, {139, 454, "НЕ ВЗЯТ ВОВР", 0, 1},
    {151, 411, "ЗАПРОС С ПЦН", 1, 1}, {156, 416, "ВЫГР. НА ПЦН", 0, 1},
    {224, 653, "РЕЗЕРВ", 1, 1},       {225, 654, "СИСТ.НЕАКТИВ", 0, 1},
    {226, 221, "АВТОМ.ВКЛ", 0, 1},    {238, 394, "ПОМЕХА", 0, 1},
    {239, 0, "CID_939", 0, 0},        {248, 0, "CID_948", 0, 0},
    {249, 654, "ВХ.БУФ.ПЕРЕП", 0, 0}, {255, 654, "ОБУЧ.НА.ПЦН", 0, 0},
};

TEST(EventTable, SpotRowsCarryTheirCodeNameAndFlags) {
    for (const ExpectedRow& expected : kSpotChecks) {
        SCOPED_TRACE(expected.index);
        const auto index = static_cast<std::uint8_t>(expected.index);
        const EventRow& row = EventRowAt(index);
        EXPECT_EQ(row.deviceCode, expected.index);
        EXPECT_EQ(row.code, expected.code);
        EXPECT_EQ(row.name, expected.name);
        EXPECT_EQ(row.userEvent, expected.userEvent);
        EXPECT_EQ(row.listed, expected.listed);
        EXPECT_EQ(EventCode(index), expected.code);
        EXPECT_EQ(EventName(index), expected.name);
    }
}

TEST(EventTable, EventTextsJoinCodeAndNameKeepingTrailingSpaces) {
    EXPECT_EQ(EventText(19), "130 - ВТОРЖЕНИЕ");
    EXPECT_EQ(EventText(75), "324 - РЕЛЕ НЕИСПР ");
    EXPECT_EQ(EventText(76), "325 - РЕЛЕ РЕВЕРС ");
    EXPECT_EQ(EventText(0), "0 - НЕИЗВЕСТ.КОД");
    EXPECT_EQ(EventText(248), "0 - CID_948");
    EXPECT_EQ(EventText(255), "654 - ОБУЧ.НА.ПЦН");
}

TEST(EventTable, UserEventsAreExactlyTheFortySevenListed) {
    const std::set<int> expected = {9,   14,  70,  123, 124, 125, 126, 127, 128, 129, 130, 131,
                                    132, 133, 134, 135, 136, 137, 138, 140, 141, 142, 143, 144,
                                    146, 147, 148, 150, 151, 152, 153, 154, 155, 157, 158, 160,
                                    161, 165, 166, 167, 189, 196, 199, 212, 221, 223, 224};
    ASSERT_EQ(expected.size(), 47U);
    std::set<int> actual;
    for (int i = 0; i < 256; ++i) {
        if (EventRowAt(static_cast<std::uint8_t>(i)).userEvent == 1) {
            actual.insert(i);
        }
    }
    EXPECT_EQ(actual, expected);
}

TEST(EventTable, BoxesOfferListedRowsInRowOrder) {
    const std::vector<std::uint8_t> common = EventBoxRows(false);
    const std::vector<std::uint8_t> all = EventBoxRows(true);
    ASSERT_EQ(common.size(), 191U);
    ASSERT_EQ(all.size(), 238U);
    EXPECT_EQ(common.front(), 1);
    EXPECT_EQ(common.back(), 238);
    EXPECT_EQ(all.front(), 1);
    EXPECT_EQ(all.back(), 238);
    // Codes 411.. follow 466, and the extinguishing events follow 654: row order, not code order.
    EXPECT_EQ(EventCode(all[149]), 466);
    EXPECT_EQ(EventCode(all[150]), 411);
    EXPECT_EQ(EventCode(all[224]), 654);
    EXPECT_EQ(EventCode(all[225]), 221);
    EXPECT_FALSE(EventOfferedInBox(124, false));
    EXPECT_TRUE(EventOfferedInBox(124, true));
    EXPECT_FALSE(EventOfferedInBox(0, true));
    EXPECT_FALSE(EventOfferedInBox(239, true));
}

TEST(EventTable, NoTwoListedRowsShareAnEventText) {
    std::set<std::string> texts;
    for (int i = 1; i <= 238; ++i) {
        EXPECT_TRUE(texts.insert(EventText(static_cast<std::uint8_t>(i))).second) << i;
    }
}

TEST(EventTable, TextLookupFindsTheExactRowOnly) {
    EXPECT_EQ(EventIndexByText("130 - ВТОРЖЕНИЕ"), 19);
    // Same name, told apart by the code.
    EXPECT_EQ(EventIndexByText("441 - СНЯТ С ПОЛЬЗ"), 133);
    EXPECT_EQ(EventIndexByText("442 - СНЯТ С ПОЛЬЗ"), 134);
    EXPECT_EQ(EventIndexByText("141 - ШИНА ОБРЫВ"), 30);
    EXPECT_EQ(EventIndexByText("331 - ШИНА ОБРЫВ"), 80);
    EXPECT_EQ(EventIndexByText("324 - РЕЛЕ НЕИСПР "), 75);
    EXPECT_EQ(EventIndexByText("324 - РЕЛЕ НЕИСПР"), 0);
    EXPECT_EQ(EventIndexByText("0 - CID_939"), 239);
    EXPECT_EQ(EventIndexByText("654 - ОБУЧ.НА.ПЦН"), 255);
    EXPECT_EQ(EventIndexByText("130 - вторжение"), 0);
    EXPECT_EQ(EventIndexByText(""), 0);
    EXPECT_EQ(EventIndexByText("0 - НЕИЗВЕСТ.КОД"), 0);
}

TEST(EventTable, CodeLookupGivesTheFirstRowWithThatCode) {
    EXPECT_EQ(EventIndexByCode(654), 225);
    EXPECT_EQ(EventIndexByCode(999), 0);
    EXPECT_EQ(EventIndexByCode(100), 1);
    EXPECT_EQ(EventIndexByCode(394), 238);
    EXPECT_EQ(EventIndexByCode(331), 80);
    EXPECT_EQ(EventIndexByCode(-1), 0);
    // Row 0 is skipped, so code 0 finds the first unlisted CID row.
    EXPECT_EQ(EventIndexByCode(0), 239);
}

TEST(EventTable, DeviceCodeLookupSkipsRowZero) {
    EXPECT_FALSE(EventRowByDeviceCode(0).has_value());
    EXPECT_EQ(EventRowByDeviceCode(1), 1);
    EXPECT_EQ(EventRowByDeviceCode(124), 124);
    EXPECT_EQ(EventRowByDeviceCode(255), 255);
}

} // namespace
} // namespace tesmira
