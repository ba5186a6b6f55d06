#include "app/ui/PortAccess.h"

#include "link/CPDrv.h"

namespace tesmira::ui {

QString PortAccessHint(const TCommPortDriver& port) {
    if (port.LastOpenFailure() != OpenFailure::AccessDenied)
        return {};
    // Serial devices on Linux belong to the group dialout; its members may open them.
    return QStringLiteral(" — нет прав на порт: нужно членство в группе dialout");
}

} // namespace tesmira::ui
