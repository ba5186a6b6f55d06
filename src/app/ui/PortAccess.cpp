#include "app/ui/PortAccess.h"

#include "link/SerialPort.h"

namespace tesmira::ui {

QString PortAccessHint(const SerialPort& port) {
    if (port.LastOpenFailure() != OpenFailure::AccessDenied)
        return {};
    // Serial devices on Linux belong to the group dialout; its members may open them.
    return QStringLiteral(" — нет прав на порт: нужно членство в группе dialout");
}

} // namespace tesmira::ui
