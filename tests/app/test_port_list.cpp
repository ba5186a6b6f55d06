#include "app/PortDiscovery.h"
#include "app/PortList.h"

#include "support/FakeSysfs.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tesmira {
namespace {

using test::FakeSysfs;

TEST(PortCaption, WindowsNamesGiveTheComTextInParentheses) {
    const auto rule = PortCaptionRule::ComInParentheses;
    EXPECT_EQ(PortCaption("STMicroelectronics Virtual COM Port (COM5)", rule), "COM5");
    EXPECT_EQ(PortCaption("Communications Port (COM1)", rule), "COM1");
    // The first "(COM" counts, and the first ")" after it.
    EXPECT_EQ(PortCaption("Port (x) (COM12) (COM3)", rule), "COM12");
    EXPECT_EQ(PortCaption("Odd (COM7 (extra) end", rule), "COM7 (extra");
    // "(COM" without a ")" after it: an item with an empty caption.
    EXPECT_EQ(PortCaption("Broken (COM9", rule), "");
    // Without "(COM" (also lower case or with a blank): no item.
    EXPECT_EQ(PortCaption("Printer Port (LPT1)", rule), std::nullopt);
    EXPECT_EQ(PortCaption("Port (com4)", rule), std::nullopt);
    EXPECT_EQ(PortCaption("Port ( COM4)", rule), std::nullopt);
    EXPECT_EQ(PortCaption("", rule), std::nullopt);
}

TEST(PortCaption, LinuxNamesGiveTheTextInTheLastParentheses) {
    const auto rule = PortCaptionRule::LastParentheses;
    EXPECT_EQ(PortCaption("Silicon Labs CP2102 (ttyUSB0)", rule), "ttyUSB0");
    EXPECT_EQ(PortCaption("Maker USB (rev 2) adapter (ttyACM3)", rule), "ttyACM3");
    EXPECT_EQ(PortCaption("serial8250 (ttyS0)", rule), "ttyS0");
    EXPECT_EQ(PortCaption("(ttyS1)", rule), "ttyS1");
    EXPECT_EQ(PortCaption("no closing (ttyUSB1", rule), "");
    EXPECT_EQ(PortCaption("Port )ttyUSB2(", rule), "");
    EXPECT_EQ(PortCaption("no parentheses ttyUSB0", rule), std::nullopt);
    EXPECT_EQ(PortCaption("closing only ttyUSB0)", rule), std::nullopt);
}

TEST(PortList, MarksStmAndCp210AnywhereAndCaseSensitive) {
    EXPECT_TRUE(IsDevicePort("STMicroelectronics STM32 Virtual ComPort (ttyACM0)"));
    EXPECT_TRUE(IsDevicePort("Silicon Labs CP2102N USB to UART Bridge Controller (ttyUSB0)"));
    EXPECT_TRUE(IsDevicePort("xSTMx"));
    EXPECT_TRUE(IsDevicePort("(ttyUSB0) CP210"));
    EXPECT_FALSE(IsDevicePort("stm32 virtual port (ttyACM1)"));
    EXPECT_FALSE(IsDevicePort("cp2102 (ttyUSB1)"));
    EXPECT_FALSE(IsDevicePort("CP21 0 (ttyUSB1)"));
    EXPECT_FALSE(IsDevicePort("FTDI FT232R USB UART (ttyUSB2)"));
}

TEST(PortList, KeepsTheOrderAndDuplicatesAndSkipsNamesWithoutPort) {
    const std::vector<std::string> names = {
        "STMicroelectronics Virtual COM Port (COM5)",
        "Communications Port (COM1)",
        "Printer Port (LPT1)",
        "Silicon Labs CP210x USB to UART Bridge (COM3)",
        "Broken (COM9",
        "Communications Port (COM1)",
    };
    const std::vector<PortListItem> expected = {
        {"COM5", true}, {"COM1", false}, {"COM3", true}, {"", false}, {"COM1", false},
    };
    EXPECT_EQ(BuildPortList(names, PortCaptionRule::ComInParentheses), expected);
    EXPECT_TRUE(BuildPortList({}, PortCaptionRule::ComInParentheses).empty());
}

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
