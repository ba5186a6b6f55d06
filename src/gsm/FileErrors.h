// The errors of the GSM editor's own files (event lists, sound files), as the user reads them.
#pragma once

#include "model/ConfigFile.h"

#include <filesystem>

namespace tesmira {

ConfigFileError FileOpenFailed(const std::filesystem::path& path);
ConfigFileError FileWriteFailed(const std::filesystem::path& path);

} // namespace tesmira
