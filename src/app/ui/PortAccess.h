// What the user is told when the port refused them for the lack of rights to it.
#pragma once

#include <QString>

namespace tesmira {
class SerialPort;
}

namespace tesmira::ui {

// Empty, or a short note (with its leading separator) to follow the port-failure status text
// when the last open of `port` was refused because the user lacks the rights to the device.
QString PortAccessHint(const SerialPort& port);

} // namespace tesmira::ui
