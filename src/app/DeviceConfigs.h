// The configurations the program knows: a fresh one, with the type's defaults, for a type code.
#pragma once

#include "model/DeviceConfig.h"

#include <cstdint>
#include <memory>

namespace tesmira {

// Null for a type that has no editor.
std::unique_ptr<DeviceConfig> MakeDeviceConfig(std::uint8_t type);

} // namespace tesmira
