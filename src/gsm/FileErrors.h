// The errors of the GSM editor's own files (event lists, sound files), as the user reads them.
#pragma once

#include "model/UnitFileIO.h"

#include <filesystem>

namespace tesmira {

FileIOError FileOpenFailed(const std::filesystem::path& path);
FileIOError FileWriteFailed(const std::filesystem::path& path);

} // namespace tesmira
