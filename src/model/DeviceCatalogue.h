// The catalogue of device types: names, menu groups and which types have an editor.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesmira {

struct CatalogueRow {
    std::uint8_t code;
    std::uint8_t groupIndex; // into kDeviceGroupNames; 0 = no group
    std::uint8_t
        fromVersion; // firmware version from which the device reports this code; 0 = not stated
    std::string_view name; // UTF-8
    bool hasEditor;        // offered in the device menu
};

inline constexpr std::size_t kDeviceCatalogueSize = 36;

// In the order that lookup and the device menu walk it.
extern const std::array<CatalogueRow, kDeviceCatalogueSize> kDeviceCatalogue;

extern const std::array<std::string_view, 7> kDeviceGroupNames;

// Name of the first catalogue row with this code; empty for a code the catalogue does not know.
std::string DeviceTypeName(std::uint8_t code);

// Group caption for an index; empty for 0 and for an index past the table.
std::string DeviceGroupName(std::uint8_t groupIndex);

// The device menu below the fixed commands of "Прибор": the item kRecentDeviceCaption, a
// separator, then one submenu per run of catalogue rows of one group.
inline constexpr std::string_view kRecentDeviceCaption = "Недавно выбранный";

struct DeviceMenuItem {
    std::string caption;
    std::uint8_t code;
};

struct DeviceSubmenu {
    std::string caption;
    std::vector<DeviceMenuItem> items;
};

// "name", or "name c N-й версии" when the row states a firmware version (the "c" is Latin).
std::string DeviceMenuCaption(const CatalogueRow& row);

// The rows with an editor, in table order, cut into submenus wherever the group changes; a group
// that comes back later gets a second submenu of the same caption.
std::vector<DeviceSubmenu> DeviceMenuLayout(std::span<const CatalogueRow> table = kDeviceCatalogue);

} // namespace tesmira
