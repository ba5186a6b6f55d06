// The port list of the port box: captions and marks taken from the system's friendly port names.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesmira {

struct PortListItem {
    std::string caption;
    bool marked = false; // looks like the devices' USB serial interface; shown with image 0
    bool operator==(const PortListItem&) const = default;
};

// Where the port name sits in a friendly name.
enum class PortCaptionRule {
    // Windows: after the first "(COM", e.g. "USB Serial Port (COM7)" gives "COM7".
    ComInParentheses,
    // Linux: after the last "(", e.g. "Silicon Labs CP2102 (rev 2) (ttyUSB0)" gives "ttyUSB0";
    // our own friendly names end in the port name in parentheses.
    LastParentheses,
};

// The caption between the marker's "(" and the first ")" after it; empty when no ")" follows.
// Nothing when the name has no marker: such a device is not offered.
std::optional<std::string> PortCaption(std::string_view friendlyName, PortCaptionRule rule);

// The names under which the devices' USB serial interfaces appear: the virtual COM port of an
// STM32-family controller and a CP210x USB-to-UART bridge (case-sensitive, anywhere).
bool IsDevicePort(std::string_view friendlyName);

// One item per name that has a caption, in the order given: no sorting, duplicates kept.
std::vector<PortListItem> BuildPortList(const std::vector<std::string>& friendlyNames,
                                        PortCaptionRule rule);

} // namespace tesmira
