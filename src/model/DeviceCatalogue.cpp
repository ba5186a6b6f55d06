#include "model/DeviceCatalogue.h"

namespace tesmira {

// Several codes share a name; the code identifies the device. The "C" of "Sorel-MX8C" and the
// "K" of "Velmar 25xK" are Latin letters.
const std::array<CatalogueRow, kDeviceCatalogueSize> kDeviceCatalogue = {{
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
}};

const std::array<std::string_view, 7> kDeviceGroupNames = {
    "", "Velmor", "Pirra", "Прочее", "Sorel-MX8", "Sorel-MX8C", "GSM",
};

std::string DeviceTypeName(std::uint8_t code) {
    for (const CatalogueRow& row : kDeviceCatalogue) {
        if (row.code == code)
            return std::string(row.name);
    }
    return {};
}

std::string DeviceGroupName(std::uint8_t groupIndex) {
    if (groupIndex >= kDeviceGroupNames.size())
        return {};
    return std::string(kDeviceGroupNames[groupIndex]);
}

std::string DeviceMenuCaption(const CatalogueRow& row) {
    std::string caption(row.name);
    if (row.fromVersion != 0)
        caption += " c " + std::to_string(row.fromVersion) + "-й версии";
    return caption;
}

std::vector<DeviceSubmenu> DeviceMenuLayout(std::span<const CatalogueRow> table) {
    std::vector<DeviceSubmenu> menu;
    std::uint8_t group = 0;
    for (const CatalogueRow& row : table) {
        if (!row.hasEditor)
            continue;
        // A first row of group 0 still needs a submenu to go into.
        if (menu.empty() || row.groupIndex != group)
            menu.push_back({DeviceGroupName(row.groupIndex), {}});
        group = row.groupIndex;
        menu.back().items.push_back({DeviceMenuCaption(row), row.code});
    }
    return menu;
}

} // namespace tesmira
