#include "app/DeviceSetupPorts.h"

#include <algorithm>

namespace tesmira {

namespace {

constexpr std::size_t kClassDescriptionSize = 1024;
constexpr std::size_t kPropertySize = 257;
// Far more classes than any system installs: a search that never hears "no more" still ends.
constexpr std::uint32_t kMaxClasses = 4096;

// The text up to the first zero byte, never past the buffer.
template <typename Char> std::string TextUpToZero(std::span<const Char> buffer) {
    const auto end = std::find(buffer.begin(), buffer.end(), Char{0});
    return std::string(buffer.begin(), end);
}

std::string Property(DeviceSetup& setup, DeviceSetup::DeviceSet set,
                     const DeviceSetupDevice& device, std::uint32_t property) {
    std::array<std::uint8_t, kPropertySize> value{};
    setup.DeviceProperty(set, device, property, value);
    return TextUpToZero(std::span<const std::uint8_t>(value));
}

} // namespace

std::optional<DeviceClassId> FindPortsClass(DeviceSetup& setup) {
    for (std::uint32_t index = 0; index < kMaxClasses; ++index) {
        DeviceClassId id{};
        const std::uint32_t result = setup.EnumerateClass(index, id);
        if (result == DeviceSetup::kNoSuchValue)
            break;
        if (result != DeviceSetup::kSuccess)
            continue; // a class that cannot be read now; the next may
        std::array<char, kClassDescriptionSize> text{};
        setup.ClassDescription(id, text);
        if (TextUpToZero(std::span<const char>(text)).find("COM") != std::string::npos)
            return id;
    }
    return std::nullopt;
}

std::string DeviceFriendlyName(DeviceSetup& setup, DeviceSetup::DeviceSet set,
                               const DeviceSetupDevice& device) {
    std::string name = Property(setup, set, device, DeviceSetup::kFriendlyName);
    if (name.empty())
        name = Property(setup, set, device, DeviceSetup::kDescription);
    return name;
}

std::vector<std::string> DeviceSetupPortFriendlyNames(DeviceSetup& setup) {
    std::vector<std::string> names;
    const std::optional<DeviceClassId> ports = FindPortsClass(setup);
    if (!ports)
        return names;
    DeviceSetup::DeviceSet set = setup.PresentDevices(*ports);
    if (set == nullptr)
        return names;
    DeviceSetupDevice device;
    for (std::uint32_t index = 0; setup.EnumerateDevice(set, index, device); ++index)
        names.push_back(DeviceFriendlyName(setup, set, device));
    setup.DestroyDeviceSet(set);
    return names;
}

} // namespace tesmira
