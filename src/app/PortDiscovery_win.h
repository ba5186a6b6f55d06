// The system's device setup and configuration manager calls behind the port search's seam.
#pragma once

#include "app/DeviceSetupPorts.h"

#include <memory>

namespace tesmira {

std::unique_ptr<DeviceSetup> MakeSystemDeviceSetup();

} // namespace tesmira
