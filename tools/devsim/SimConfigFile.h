// The simulator's records in and out of *.bcf configuration files.
#pragma once

#include "SimDevice.h"

#include <string>

namespace tesmira::devsim {

struct ConfigContent {
    std::uint8_t type = 0;
    Bytes record;
    Bytes captions; // type 32 only
};

// Reads a configuration file; false and a readable reason in `error` when it cannot be used.
bool ReadConfigFile(const std::string& path, ConfigContent& content, std::string& error);

// Writes the device's record(s) as the configurator saves them.
bool WriteConfigFile(const std::string& path, const Device& device, std::string& error);

} // namespace tesmira::devsim
