#include "model/EventTable.h"
#include "model/ZoneTypes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tesmira {
namespace {

const std::vector<std::string> kNames = {
    "Отключен", "Тревожный",  "Тихий тревожный", "Пожарный",          "Технологический",
    "Охранный", "Внутренний", "Дверной",         "Пожарн.2-х порог.",
};

TEST(ZoneTypes, NamesInCodeOrderAndLookupByExactName) {
    EXPECT_EQ(ZoneTypeNames(), kNames);
    for (int code = 0; code < 9; ++code) {
        EXPECT_EQ(ZoneTypeByName(kNames[code]), code);
    }
    EXPECT_EQ(ZoneTypeByName("Пожарный "), -1);
    EXPECT_EQ(ZoneTypeByName("охранный"), -1);
    EXPECT_EQ(ZoneTypeByName(""), -1);
}

std::vector<int> Offered(std::uint8_t selector) {
    const auto selection = ZoneTypeSelection(selector);
    return selection ? std::vector<int>(selection->begin(), selection->end()) : std::vector<int>{};
}

TEST(ZoneTypes, SelectorsOfferTheirSubsetsAndNothingElse) {
    EXPECT_EQ(Offered(0), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Offered(1), (std::vector<int>{0, 1, 2, 3, 4, 5, 7}));
    EXPECT_EQ(Offered(2), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Offered(3), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(ZoneTypeSelection(4).has_value());
    EXPECT_FALSE(ZoneTypeSelection(255).has_value());
}

TEST(ZoneTypes, DefaultEventsPointAtTheNamedEvents) {
    const char* expected[] = {
        "100 - МЕД.ТРЕВОГА", "123 - Т.К.ГРОМКАЯ", "122 - Т.К.ТИХАЯ",
        "110 - ПОЖАР",       "150 - НЕ ОХР.ЗОНА", "131 - ПЕРИМЕТР",
        "132 - ВНУТРЕННЯЯ",  "134 - ВХОД/ВЫХОД",  "110 - ПОЖАР",
    };
    const int indexes[] = {1, 16, 15, 4, 37, 20, 21, 23, 4};
    for (int type = 0; type < 9; ++type) {
        SCOPED_TRACE(type);
        const std::uint8_t event = DefaultEventForZoneType(static_cast<std::uint8_t>(type));
        EXPECT_EQ(event, indexes[type]);
        EXPECT_EQ(EventText(event), expected[type]);
    }
    EXPECT_EQ(EventText(DefaultEventForZoneType(9)), "651 - РЕЗЕРВ");
}

TEST(ZoneTypes, DefaultEventLooksAtTheLowSevenBitsOnly) {
    EXPECT_EQ(DefaultEventForZoneType(0x88), 4);
    EXPECT_EQ(DefaultEventForZoneType(9), 222);
    EXPECT_EQ(DefaultEventForZoneType(0x80), 1);
    EXPECT_EQ(DefaultEventForZoneType(0x85), 20);
    EXPECT_EQ(DefaultEventForZoneType(0x7F), 222);
    EXPECT_EQ(DefaultEventForZoneType(0xFF), 222);
}

TEST(ZoneTypes, InterfaceNamesAndTextLookup) {
    const auto& names = InterfaceNames();
    ASSERT_EQ(names.size(), 4U);
    EXPECT_EQ(names[0], "Отключено");
    EXPECT_EQ(names[1], "Velmar ППМ, Quell");
    EXPECT_EQ(names[2], "GSM-VANTIQ");
    EXPECT_EQ(names[3], "RS-485");
    EXPECT_EQ(IndexOfText(names, "RS-485"), 3);
    EXPECT_EQ(IndexOfText(names, "GSM-Vantiq"), -1);
    EXPECT_EQ(IndexOfText(names, ""), -1);
    const std::vector<std::string> repeated = {"a", "b", "a"};
    EXPECT_EQ(IndexOfText(repeated, "a"), 0);
    EXPECT_EQ(IndexOfText(repeated, "b"), 1);
    EXPECT_EQ(IndexOfText(std::vector<std::string>{}, "a"), -1);
}

} // namespace
} // namespace tesmira
