// The serial ports that the Windows device setup lists, found through a small seam over its
// calls so that the search can be run on scripted answers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tesmira {

// A device setup class identifier: the 16 bytes of its GUID.
using DeviceClassId = std::array<std::uint8_t, 16>;

// What the system says of one device of a set, carried back to it unchanged.
struct DeviceSetupDevice {
    DeviceClassId classId{};
    std::uint32_t instance = 0;
    std::uintptr_t reserved = 0;
};

// The configuration manager and device setup calls of the port search.
class DeviceSetup {
public:
    using DeviceSet = void*; // nullptr: none

    static constexpr std::uint32_t kSuccess = 0;       // CR_SUCCESS
    static constexpr std::uint32_t kNoSuchValue = 37;  // CR_NO_SUCH_VALUE: past the last class
    static constexpr std::uint32_t kFriendlyName = 12; // SPDRP_FRIENDLYNAME
    static constexpr std::uint32_t kDescription = 0;   // SPDRP_DEVICEDESC

    virtual ~DeviceSetup() = default;

    // CM_Enumerate_Classes: the installed class at `index`, and the call's result code.
    virtual std::uint32_t EnumerateClass(std::uint32_t index, DeviceClassId& id) = 0;
    // SetupDiGetClassDescriptionA into `text`.
    virtual void ClassDescription(const DeviceClassId& id, std::span<char> text) = 0;
    // SetupDiGetClassDevsA: the present devices of a class; nullptr on failure.
    virtual DeviceSet PresentDevices(const DeviceClassId& id) = 0;
    // SetupDiEnumDeviceInfo: false after the last device.
    virtual bool EnumerateDevice(DeviceSet set, std::uint32_t index, DeviceSetupDevice& device) = 0;
    // SetupDiGetDeviceRegistryPropertyA into `value`; a failed read leaves it as it was.
    virtual void DeviceProperty(DeviceSet set, const DeviceSetupDevice& device,
                                std::uint32_t property, std::span<std::uint8_t> value) = 0;
    // SetupDiDestroyDeviceInfoList.
    virtual void DestroyDeviceSet(DeviceSet set) = 0;
};

// The class of serial ports: the first installed class, in enumeration order, whose description
// contains "COM" (whatever the system's language, the ports class names COM). Nothing when no
// class does.
std::optional<DeviceClassId> FindPortsClass(DeviceSetup& setup);

// The device's friendly name, or its description when it has none.
std::string DeviceFriendlyName(DeviceSetup& setup, DeviceSetup::DeviceSet set,
                               const DeviceSetupDevice& device);

// The friendly names of the present devices of the ports class, in the system's order; empty
// when there is no such class or its devices cannot be listed.
std::vector<std::string> DeviceSetupPortFriendlyNames(DeviceSetup& setup);

} // namespace tesmira
