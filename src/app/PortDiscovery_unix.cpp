#include "app/PortDiscovery.h"

#include <fstream>
#include <system_error>

namespace tesmira {

namespace fs = std::filesystem;

namespace {

// The first line of a sysfs attribute without its trailing blanks; empty when unreadable.
std::string ReadAttribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t'))
        line.pop_back();
    return line;
}

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// Manufacturer and product of the USB device above `device`, or the name of its driver.
std::string DeviceDescription(const fs::path& device, const fs::path& stopAt) {
    for (fs::path at = device; !at.empty() && at != stopAt; at = at.parent_path()) {
        if (IsFile(at / "idVendor")) {
            const std::string maker = ReadAttribute(at / "manufacturer");
            const std::string product = ReadAttribute(at / "product");
            if (maker.empty() || product.empty())
                return maker + product;
            return maker + " " + product;
        }
        if (at == at.parent_path())
            break;
    }
    std::error_code ec;
    const fs::path driver = fs::canonical(device / "driver", ec);
    return ec ? std::string() : driver.filename().string();
}

} // namespace

std::vector<std::string> SysfsPortFriendlyNames(const fs::path& sysfsRoot) {
    std::vector<std::string> names;
    std::error_code ec;
    const fs::path stopAt = fs::canonical(sysfsRoot, ec);
    if (ec)
        return names;
    fs::directory_iterator it(sysfsRoot / "class" / "tty", ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const fs::path tty = it->path();
        std::error_code linkError;
        const fs::path device = fs::canonical(tty / "device", linkError);
        if (linkError)
            continue; // a virtual terminal or a pseudo-terminal: not a port
        if (IsFile(tty / "type") && ReadAttribute(tty / "type") == "0")
            continue;
        const std::string name = tty.filename().string();
        const std::string description = DeviceDescription(device, stopAt);
        names.push_back(description.empty() ? "(" + name + ")" : description + " (" + name + ")");
    }
    return names;
}

std::string DefaultPortText() {
    return "ttyUSB0";
}

std::vector<PortListItem> DiscoverPorts() {
    return BuildPortList(SysfsPortFriendlyNames("/sys"), PortCaptionRule::LastParentheses);
}

} // namespace tesmira
