#include "gsm/FileErrors.h"

#include <string>

namespace tesmira {

namespace {

std::string DisplayName(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

} // namespace

FileIOError FileOpenFailed(const std::filesystem::path& path) {
    return FileIOError("Не удалось открыть файл " + DisplayName(path));
}

FileIOError FileWriteFailed(const std::filesystem::path& path) {
    return FileIOError("Не удалось записать файл " + DisplayName(path));
}

} // namespace tesmira
