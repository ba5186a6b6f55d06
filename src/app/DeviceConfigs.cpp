#include "app/DeviceConfigs.h"

#include "editors/RecordConfigs.h"
#include "gsm/GsmDeviceConfig.h"

namespace tesmira {

std::unique_ptr<DeviceConfig> MakeDeviceConfig(std::uint8_t type) {
    switch (type) {
    case TwoLoopRecord::kType26:
    case TwoLoopRecord::kType27:
        return std::make_unique<TwoLoopConfig>(type);
    case PanelRecord::kType30:
    case PanelRecord::kType31:
        return std::make_unique<PanelConfig>(type);
    case GsmRecord::kType:
        return std::make_unique<GsmDeviceConfig>();
    case FiveZonePanelRecord::kType33:
        return std::make_unique<FiveZonePanelConfig>();
    case RepeaterRecord34::kType:
        return std::make_unique<RepeaterConfig34>();
    case RepeaterRecord35::kType:
        return std::make_unique<RepeaterConfig35>();
    default:
        return nullptr;
    }
}

} // namespace tesmira
