#include "gsm/FileErrors.h"

#include <string>

namespace tesmira {

namespace {

std::string DisplayName(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

} // namespace

ConfigFileError FileOpenFailed(const std::filesystem::path& path) {
    return ConfigFileError("Не удалось открыть файл " + DisplayName(path));
}

ConfigFileError FileWriteFailed(const std::filesystem::path& path) {
    return ConfigFileError("Не удалось записать файл " + DisplayName(path));
}

} // namespace tesmira
