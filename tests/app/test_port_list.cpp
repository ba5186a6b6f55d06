#include "app/PortList.h"

#include <gtest/gtest.h>

namespace tesmira {
namespace {

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

} // namespace
} // namespace tesmira
