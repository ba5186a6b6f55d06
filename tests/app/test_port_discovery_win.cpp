// The system's device setup calls behind the port search, on a device set made for the test:
// Wine lists no installed class and no present port, so the set is built here.
#include "app/PortDiscovery_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <setupapi.h>

namespace tesmira {
namespace {

// {4D36E978-E325-11CE-BFC1-08002BE10318}: serial and parallel ports.
const GUID kPortsClass = {
    0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

TEST(SystemDeviceSetup, EnumeratesADeviceAndReadsItsNames) {
    HDEVINFO set = SetupDiCreateDeviceInfoList(&kPortsClass, nullptr);
    ASSERT_NE(set, INVALID_HANDLE_VALUE);
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof data;
    ASSERT_TRUE(SetupDiCreateDeviceInfoA(set, "PORTS", &kPortsClass, nullptr, nullptr,
                                         DICD_GENERATE_ID, &data));
    const char description[] = "Communications Port";
    ASSERT_TRUE(SetupDiSetDeviceRegistryPropertyA(set, &data, SPDRP_DEVICEDESC,
                                                  reinterpret_cast<const BYTE*>(description),
                                                  sizeof description));

    const auto setup = MakeSystemDeviceSetup();
    DeviceSetupDevice device;
    // A size field other than the structure's own makes the system refuse the call.
    ASSERT_TRUE(setup->EnumerateDevice(set, 0, device));
    EXPECT_FALSE(setup->EnumerateDevice(set, 1, device));
    ASSERT_TRUE(setup->EnumerateDevice(set, 0, device));
    EXPECT_EQ(DeviceFriendlyName(*setup, set, device), "Communications Port");

    const char friendly[] = "STMicroelectronics Virtual COM Port (COM5)";
    ASSERT_TRUE(SetupDiSetDeviceRegistryPropertyA(
        set, &data, SPDRP_FRIENDLYNAME, reinterpret_cast<const BYTE*>(friendly), sizeof friendly));
    EXPECT_EQ(DeviceFriendlyName(*setup, set, device), friendly);
    setup->DestroyDeviceSet(set);
}

} // namespace
} // namespace tesmira
