// The Windows port search on scripted device setup answers: which class is the ports class,
// which name a device goes by, and that the device set is always released.
#include "app/DeviceSetupPorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace tesmira {
namespace {

DeviceClassId Id(std::uint8_t n) {
    DeviceClassId id{};
    id[0] = n;
    return id;
}

struct ScriptedClass {
    std::uint32_t result;
    std::string description; // copied as it stands, a zero byte only if it holds one
};

struct ScriptedDevice {
    std::string friendlyName;
    std::string description;
};

class ScriptedSetup : public DeviceSetup {
public:
    std::vector<ScriptedClass> classes;
    std::vector<ScriptedDevice> devices;
    bool setFails = false;
    int classesAsked = 0;
    std::vector<DeviceClassId> setsAsked;
    int destroyed = 0;

    std::uint32_t EnumerateClass(std::uint32_t index, DeviceClassId& id) override {
        ++classesAsked;
        if (index >= classes.size())
            return kNoSuchValue;
        id = Id(static_cast<std::uint8_t>(index));
        return classes[index].result;
    }
    void ClassDescription(const DeviceClassId& id, std::span<char> text) override {
        const std::string& d = classes.at(id[0]).description;
        std::copy_n(d.begin(), std::min(d.size(), text.size()), text.begin());
    }
    DeviceSet PresentDevices(const DeviceClassId& id) override {
        setsAsked.push_back(id);
        return setFails ? nullptr : this;
    }
    bool EnumerateDevice(DeviceSet set, std::uint32_t index, DeviceSetupDevice& device) override {
        EXPECT_EQ(set, this);
        device.instance = index;
        return index < devices.size();
    }
    void DeviceProperty(DeviceSet, const DeviceSetupDevice& device, std::uint32_t property,
                        std::span<std::uint8_t> value) override {
        const ScriptedDevice& d = devices.at(device.instance);
        const std::string& text = property == kFriendlyName ? d.friendlyName : d.description;
        std::memcpy(value.data(), text.data(), std::min(text.size(), value.size()));
    }
    void DestroyDeviceSet(DeviceSet set) override {
        EXPECT_EQ(set, this);
        ++destroyed;
    }
};

struct ClassRow {
    const char* what;
    std::vector<ScriptedClass> classes;
    std::optional<DeviceClassId> found;
};

TEST(DeviceSetupPorts, ThePortsClassIsTheFirstWhoseDescriptionNamesCom) {
    const std::string full(1021, 'x');
    const ClassRow rows[] = {
        {"first of two", {{0, "Sound"}, {0, "Ports (COM & LPT)"}, {0, "COM too"}}, Id(1)},
        {"any language", {{0, "Порты (COM и LPT)"}}, Id(0)},
        {"case-sensitive", {{0, "com ports"}, {0, "Modems"}}, std::nullopt},
        {"an unreadable class is passed over", {{31, "COM"}, {0, "Ports (COM)"}}, Id(1)},
        {"text ends at its zero byte", {{0, std::string("Ports\0COM", 9)}}, std::nullopt},
        {"a full buffer without a zero", {{0, full + "COMxx"}}, Id(0)},
        {"no classes", {}, std::nullopt},
    };
    for (const ClassRow& row : rows) {
        ScriptedSetup setup;
        setup.classes = row.classes;
        EXPECT_EQ(FindPortsClass(setup), row.found) << row.what;
    }
}

TEST(DeviceSetupPorts, AClassSearchThatNeverHearsNoMoreStillEnds) {
    ScriptedSetup setup;
    setup.classes.assign(100000, {31, ""});
    EXPECT_EQ(FindPortsClass(setup), std::nullopt);
    EXPECT_LT(setup.classesAsked, 100000);
}

TEST(DeviceSetupPorts, NamesComeInTheSystemsOrderAndTheSetIsReleased) {
    ScriptedSetup setup;
    setup.classes = {{0, "Display"}, {0, "Ports (COM & LPT)"}};
    // Without a friendly name a device goes by its description; a name is cut at the buffer.
    setup.devices = {{"STMicroelectronics Virtual COM Port (COM5)", "unused"},
                     {"", "Printer Port (LPT1)"},
                     {std::string(300, 'n'), "unused"}};
    EXPECT_EQ(DeviceSetupPortFriendlyNames(setup),
              (std::vector<std::string>{"STMicroelectronics Virtual COM Port (COM5)",
                                        "Printer Port (LPT1)", std::string(257, 'n')}));
    EXPECT_EQ(setup.setsAsked, std::vector<DeviceClassId>{Id(1)});
    EXPECT_EQ(setup.destroyed, 1);
}

TEST(DeviceSetupPorts, NoPortsClassOrNoDeviceSetGivesNoNames) {
    ScriptedSetup setup;
    setup.classes = {{0, "Display"}};
    setup.devices = {{"Communications Port (COM1)", ""}};
    EXPECT_TRUE(DeviceSetupPortFriendlyNames(setup).empty());
    EXPECT_TRUE(setup.setsAsked.empty());

    setup.classes = {{0, "Ports (COM & LPT)"}};
    setup.setFails = true;
    EXPECT_TRUE(DeviceSetupPortFriendlyNames(setup).empty());
    EXPECT_EQ(setup.destroyed, 0);
}

} // namespace
} // namespace tesmira
