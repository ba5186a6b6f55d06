// The serial ports present in the system, as friendly names and as items of the port list.
#pragma once

#include "app/PortList.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tesmira {

// The port text at first start: "ttyUSB0" on Linux, "COM1" on Windows.
std::string DefaultPortText();

// The platform's ports with its caption rule applied, in the system's order. Empty when the
// system lists none or cannot be asked.
std::vector<PortListItem> DiscoverPorts();

// Linux: one friendly name per tty under `sysfsRoot`/class/tty that has a device: the USB
// device's manufacturer and product (else the driver's name), then " (" + tty name + ")", e.g.
// "STMicroelectronics STM32 Virtual ComPort (ttyACM0)". A serial core port whose "type" is 0 has
// no UART behind it and is left out. In directory order.
std::vector<std::string> SysfsPortFriendlyNames(const std::filesystem::path& sysfsRoot);

} // namespace tesmira
