#include "model/DeviceCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tesmira {
namespace {

TEST(DeviceCatalogue, NamesOfKnownAndUnknownCodes) {
    EXPECT_EQ(DeviceTypeName(0), "Неизвестное устройство");
    EXPECT_EQ(DeviceTypeName(29), "GSM-коммуникатор объектовый");
    EXPECT_EQ(DeviceTypeName(23), "Velmar 28x, Sorel-MX8");
    EXPECT_EQ(DeviceTypeName(13), "Velmar 28x, Sorel-MX8");
    EXPECT_EQ(DeviceTypeName(14), "Tarn-32R V1");
    EXPECT_EQ(DeviceTypeName(3), "Sorel-MX-LN старый на плате XB2B");
    EXPECT_EQ(DeviceTypeName(25), "Velmor 280");
    EXPECT_EQ(DeviceTypeName(36), "");
    EXPECT_EQ(DeviceTypeName(255), "");
}

TEST(DeviceCatalogue, LatinLettersInNames) {
    // "C" and "K" are Latin, not the Cyrillic letters that look the same.
    EXPECT_EQ(DeviceTypeName(12), "Sorel-MX8\x43");
    EXPECT_EQ(DeviceTypeName(9), "Velmar 25x\x4B");
}

// The whole catalogue in its order, as the device list gives it, written out by hand: a code
// swapped between two names would open the wrong editor for a device.
const CatalogueRow kCatalogue[] = {
    {29, 6, 0, "GSM-коммуникатор объектовый", false},
    {32, 6, 5, "GSM-коммуникатор объектовый", true},
    {34, 1, 5, "Velmar 508", true},
    {30, 1, 9, "Velmar 280", true},
    {33, 1, 8, "Velmar 250", true},
    {8, 1, 0, "Velmar 151", false},
    {5, 1, 0, "Velmar 25x (Sorel-MX5)", false},
    {10, 1, 0, "Velmar 28x", false},
    {13, 1, 0, "Velmar 28x, Sorel-MX8", false},
    {11, 1, 0, "Velmar 407x, Sorel-MX-LN", false},
    {7, 1, 0, "Velmar 432x, Sorel-MX5-LN", false},
    {16, 1, 6, "Velmar 28x, Sorel-MX8", false},
    {17, 1, 5, "Velmar 407x, Sorel-MX-LN", false},
    {18, 1, 6, "Velmar 432x, Sorel-MX5-LN", false},
    {19, 1, 6, "Velmar 25x (Sorel-MX5)", false},
    {20, 1, 7, "Velmar 28x (Sorel-MX8)", false},
    {22, 1, 0, "Velmar 4600", false},
    {23, 1, 8, "Velmar 28x, Sorel-MX8", false},
    {24, 1, 0, "Velmar 508", false},
    {28, 1, 3, "Velmar 508", false},
    {14, 2, 1, "Tarn-32R V1", false},
    {15, 2, 2, "Tarn-32R", false},
    {35, 2, 7, "Tarn-32R", true},
    {1, 4, 2, "Sorel-MX8", false},
    {31, 4, 6, "Sorel-MX8", true},
    {2, 5, 0, "Sorel-MX8C", false},
    {4, 5, 2, "Sorel-MX8C", false},
    {12, 5, 4, "Sorel-MX8C", false},
    {9, 3, 0, "Velmar 25xK", false},
    {6, 3, 0, "Sorel-ZR2", false},
    {21, 3, 0, "Sorel-ZR5", false},
    {3, 3, 0, "Sorel-MX-LN старый на плате XB2B", false},
    {26, 3, 0, "Miren-1", true},
    {27, 3, 0, "Miren-2", true},
    {25, 3, 0, "Velmor 280", false},
    {0, 6, 0, "Неизвестное устройство", false},
};

TEST(DeviceCatalogue, EveryRowInOrder) {
    ASSERT_EQ(std::size(kCatalogue), kDeviceCatalogue.size());
    for (std::size_t i = 0; i < kDeviceCatalogue.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(kDeviceCatalogue[i].code, kCatalogue[i].code);
        EXPECT_EQ(kDeviceCatalogue[i].groupIndex, kCatalogue[i].groupIndex);
        EXPECT_EQ(kDeviceCatalogue[i].fromVersion, kCatalogue[i].fromVersion);
        EXPECT_EQ(kDeviceCatalogue[i].name, kCatalogue[i].name);
        EXPECT_EQ(kDeviceCatalogue[i].hasEditor, kCatalogue[i].hasEditor);
    }
}

TEST(DeviceCatalogue, EveryCodeFrom0To35OnceAndEditorsForExactlyEight) {
    std::set<int> codes;
    std::set<int> editors;
    for (const CatalogueRow& row : kDeviceCatalogue) {
        codes.insert(row.code);
        if (row.hasEditor)
            editors.insert(row.code);
        EXPECT_LE(row.groupIndex, 6) << int(row.code);
        EXPECT_FALSE(row.name.empty()) << int(row.code);
    }
    EXPECT_EQ(codes.size(), 36u);
    EXPECT_EQ(*codes.rbegin(), 35);
    EXPECT_EQ(editors, (std::set<int>{26, 27, 30, 31, 32, 33, 34, 35}));
}

TEST(DeviceCatalogue, GroupNames) {
    EXPECT_EQ(DeviceGroupName(0), "");
    EXPECT_EQ(DeviceGroupName(1), "Velmor");
    EXPECT_EQ(DeviceGroupName(3), "Прочее");
    EXPECT_EQ(DeviceGroupName(5), "Sorel-MX8C");
    EXPECT_EQ(DeviceGroupName(6), "GSM");
    EXPECT_EQ(DeviceGroupName(7), "");
}

TEST(DeviceMenu, FiveSubmenusWithTheEightEditorsInTableOrder) {
    const std::vector<DeviceSubmenu> menu = DeviceMenuLayout();
    ASSERT_EQ(menu.size(), 5u);
    EXPECT_EQ(menu[0].caption, "GSM");
    EXPECT_EQ(menu[1].caption, "Velmor");
    EXPECT_EQ(menu[2].caption, "Pirra");
    EXPECT_EQ(menu[3].caption, "Sorel-MX8");
    EXPECT_EQ(menu[4].caption, "Прочее");

    std::vector<std::pair<std::string, int>> items;
    for (const DeviceSubmenu& submenu : menu) {
        for (const DeviceMenuItem& item : submenu.items)
            items.emplace_back(item.caption, item.code);
    }
    const std::vector<std::pair<std::string, int>> expected = {
        {"GSM-коммуникатор объектовый c 5-й версии", 32},
        {"Velmar 508 c 5-й версии", 34},
        {"Velmar 280 c 9-й версии", 30},
        {"Velmar 250 c 8-й версии", 33},
        {"Tarn-32R c 7-й версии", 35},
        {"Sorel-MX8 c 6-й версии", 31},
        {"Miren-1", 26},
        {"Miren-2", 27},
    };
    EXPECT_EQ(items, expected);
    EXPECT_EQ(menu[1].items.size(), 3u);
    EXPECT_EQ(menu[4].items.size(), 2u);
    // The "c" between name and version is the Latin letter.
    EXPECT_EQ(items[2].first.substr(10, 3), " \x63 ");
}

TEST(DeviceMenu, GroupThatComesBackGetsASecondSubmenu) {
    const CatalogueRow table[] = {
        {1, 2, 0, "A", true},  {2, 2, 0, "B", false}, {3, 1, 12, "C", true},
        {4, 1, 0, "D", false}, {5, 2, 0, "E", true},  {6, 2, 0, "F", true},
    };
    const std::vector<DeviceSubmenu> menu = DeviceMenuLayout(table);
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].caption, "Pirra");
    EXPECT_EQ(menu[1].caption, "Velmor");
    EXPECT_EQ(menu[2].caption, "Pirra");
    ASSERT_EQ(menu[1].items.size(), 1u);
    EXPECT_EQ(menu[1].items[0].caption, "C c 12-й версии");
    ASSERT_EQ(menu[2].items.size(), 2u);
    EXPECT_EQ(menu[2].items[1].code, 6);
}

TEST(DeviceMenu, RowsWithoutGroupOrEditorStillFormAMenu) {
    const CatalogueRow ungrouped[] = {{7, 0, 0, "X", true}, {8, 9, 0, "Y", true}};
    const std::vector<DeviceSubmenu> menu = DeviceMenuLayout(ungrouped);
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0].caption, "");
    EXPECT_EQ(menu[0].items[0].code, 7);
    EXPECT_EQ(menu[1].caption, ""); // group index past the name table

    const CatalogueRow none[] = {{7, 1, 0, "X", false}};
    EXPECT_TRUE(DeviceMenuLayout(none).empty());
}

} // namespace
} // namespace tesmira
