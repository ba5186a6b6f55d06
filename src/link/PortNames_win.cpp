#include "link/PortNames.h"

namespace tesmira {

std::string PortPathForName(std::string_view text) {
    return WindowsPortPath(text);
}

} // namespace tesmira
