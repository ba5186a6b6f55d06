#include "SimConfigFile.h"

namespace tesmira::devsim {

// The configuration file class of the model layer is not in the core yet.
bool ReadConfigFile(const std::string&, ConfigContent&, std::string& error) {
    error = "configuration files are not supported by this build yet";
    return false;
}

bool WriteConfigFile(const std::string&, const Device&, std::string& error) {
    error = "configuration files are not supported by this build yet";
    return false;
}

} // namespace tesmira::devsim
