#include "link/PortNames.h"

namespace tesmira {

std::string UnixPortPath(std::string_view text) {
    if (text.empty())
        return {};
    if (text.front() == '/')
        return std::string(text);
    return "/dev/" + std::string(text);
}

std::string WindowsPortPath(std::string_view text) {
    if (!text.starts_with("COM"))
        return {};
    return "\\\\.\\" + std::string(text);
}

} // namespace tesmira
