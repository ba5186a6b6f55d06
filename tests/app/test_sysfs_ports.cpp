// Port discovery on Linux: friendly names read from a fake sysfs tree.
#include "app/PortDiscovery.h"
#include "app/PortList.h"

#include "support/FakeSysfs.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tesmira {
namespace {

using test::FakeSysfs;

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SysfsPorts, FriendlyNamesFromTheUsbStringsOrTheDriver) {
    FakeSysfs sys;
    sys.AddUsbPort("ttyACM0", "STMicroelectronics", "STM32 Virtual ComPort");
    sys.AddUsbPort("ttyUSB0", "Silicon Labs", "CP2102 USB to UART Bridge Controller");
    sys.AddUsbPort("ttyUSB1", "", "USB-Serial Controller");
    sys.AddPlatformPort("ttyS0", "serial8250", 4);
    // Not ports: a serial core line without a UART, terminals without a device.
    sys.AddPlatformPort("ttyS3", "serial8250", 0);
    sys.AddVirtualTerminal("tty0");
    sys.AddVirtualTerminal("ptmx");
    const std::vector<std::string> expected = {
        "STMicroelectronics STM32 Virtual ComPort (ttyACM0)",
        "Silicon Labs CP2102 USB to UART Bridge Controller (ttyUSB0)",
        "USB-Serial Controller (ttyUSB1)",
        "serial8250 (ttyS0)",
    };
    // The system's directory order is kept; it is not defined for a fake tree, so compare sorted.
    EXPECT_EQ(Sorted(SysfsPortFriendlyNames(sys.root())), Sorted(expected));
}

TEST(SysfsPorts, ItemsAreMarkedByTheirUsbStrings) {
    FakeSysfs sys;
    sys.AddUsbPort("ttyACM0", "STMicroelectronics", "STM32 Virtual ComPort");
    sys.AddUsbPort("ttyUSB0", "Silicon Labs", "CP2102 USB to UART Bridge Controller");
    sys.AddUsbPort("ttyUSB1", "FTDI", "FT232R USB UART (rev B)");
    sys.AddPlatformPort("ttyS0", "serial8250", 4);
    auto items =
        BuildPortList(SysfsPortFriendlyNames(sys.root()), PortCaptionRule::LastParentheses);
    std::sort(items.begin(), items.end(),
              [](const PortListItem& a, const PortListItem& b) { return a.caption < b.caption; });
    const std::vector<PortListItem> expected = {
        {"ttyACM0", true}, {"ttyS0", false}, {"ttyUSB0", true}, {"ttyUSB1", false}};
    EXPECT_EQ(items, expected);
}

TEST(SysfsPorts, AMissingTreeOrClassGivesNoPorts) {
    test::TempDir empty;
    EXPECT_TRUE(SysfsPortFriendlyNames(empty.path()).empty());
    EXPECT_TRUE(SysfsPortFriendlyNames(empty.path() / "absent").empty());
}

TEST(SysfsPorts, ADanglingDeviceLinkIsNotAPort) {
    FakeSysfs sys;
    sys.AddUsbPort("ttyUSB0", "Silicon Labs", "CP2102");
    // Unplugged while the list is read: the class entry is left pointing at nothing.
    std::filesystem::remove_all(sys.root() / "devices" / "pci0000:00");
    EXPECT_TRUE(SysfsPortFriendlyNames(sys.root()).empty());
}

} // namespace
} // namespace tesmira
