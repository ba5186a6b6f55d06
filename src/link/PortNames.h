// From the port text the user chose (e.g. "ttyUSB0", "COM3") to the path the driver opens.
#pragma once

#include <string>
#include <string_view>

namespace tesmira {

// The mapping of the platform the program runs on. An empty result: the text names no port, and
// the port name stays as it was.
std::string PortPathForName(std::string_view text);

// Linux: a text beginning with "/" is a path as it stands (pseudo-terminals); any other text is a
// device name under /dev.
std::string UnixPortPath(std::string_view text);

// Windows: a text beginning with "COM" becomes "\\.\" + the text; any other text names no port.
std::string WindowsPortPath(std::string_view text);

} // namespace tesmira
