// Port discovery on Windows: the present devices of the ports class, by their friendly names.
#include "app/PortDiscovery_win.h"
#include "app/PortDiscovery.h"

#include <windows.h>

#include <cfgmgr32.h>
#include <setupapi.h>

#include <cstring>

namespace tesmira {

namespace {

static_assert(DeviceSetup::kSuccess == CR_SUCCESS);
static_assert(DeviceSetup::kNoSuchValue == CR_NO_SUCH_VALUE);
static_assert(DeviceSetup::kFriendlyName == SPDRP_FRIENDLYNAME);
static_assert(DeviceSetup::kDescription == SPDRP_DEVICEDESC);
static_assert(sizeof(GUID) == sizeof(DeviceClassId));

GUID ToGuid(const DeviceClassId& id) {
    GUID guid;
    std::memcpy(&guid, id.data(), sizeof guid);
    return guid;
}

DeviceClassId ToClassId(const GUID& guid) {
    DeviceClassId id;
    std::memcpy(id.data(), &guid, sizeof guid);
    return id;
}

// The structure's size field is what the system checks: 28 bytes in 32-bit builds, 32 in 64-bit
// ones, so it comes from the structure itself.
SP_DEVINFO_DATA ToDevInfo(const DeviceSetupDevice& device) {
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof data;
    data.ClassGuid = ToGuid(device.classId);
    data.DevInst = device.instance;
    data.Reserved = device.reserved;
    return data;
}

class SystemDeviceSetup final : public DeviceSetup {
public:
    std::uint32_t EnumerateClass(std::uint32_t index, DeviceClassId& id) override {
        GUID guid{};
        const CONFIGRET result = CM_Enumerate_Classes(index, &guid, 0);
        id = ToClassId(guid);
        return result;
    }

    void ClassDescription(const DeviceClassId& id, std::span<char> text) override {
        const GUID guid = ToGuid(id);
        SetupDiGetClassDescriptionA(&guid, text.data(), static_cast<DWORD>(text.size()), nullptr);
    }

    DeviceSet PresentDevices(const DeviceClassId& id) override {
        const GUID guid = ToGuid(id);
        HDEVINFO set = SetupDiGetClassDevsA(&guid, nullptr, nullptr, DIGCF_PRESENT);
        return set == INVALID_HANDLE_VALUE ? nullptr : set;
    }

    bool EnumerateDevice(DeviceSet set, std::uint32_t index, DeviceSetupDevice& device) override {
        SP_DEVINFO_DATA data{};
        data.cbSize = sizeof data;
        if (!SetupDiEnumDeviceInfo(set, index, &data))
            return false;
        device.classId = ToClassId(data.ClassGuid);
        device.instance = data.DevInst;
        device.reserved = data.Reserved;
        return true;
    }

    void DeviceProperty(DeviceSet set, const DeviceSetupDevice& device, std::uint32_t property,
                        std::span<std::uint8_t> value) override {
        SP_DEVINFO_DATA data = ToDevInfo(device);
        SetupDiGetDeviceRegistryPropertyA(set, &data, property, nullptr, value.data(),
                                          static_cast<DWORD>(value.size()), nullptr);
    }

    void DestroyDeviceSet(DeviceSet set) override { SetupDiDestroyDeviceInfoList(set); }
};

} // namespace

std::unique_ptr<DeviceSetup> MakeSystemDeviceSetup() {
    return std::make_unique<SystemDeviceSetup>();
}

std::string DefaultPortText() {
    return "COM1";
}

std::vector<PortListItem> DiscoverPorts() {
    const auto setup = MakeSystemDeviceSetup();
    return BuildPortList(DeviceSetupPortFriendlyNames(*setup), PortCaptionRule::ComInParentheses);
}

} // namespace tesmira
