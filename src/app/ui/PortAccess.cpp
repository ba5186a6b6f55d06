#include "app/ui/PortAccess.h"

#include "link/FailureHint.h"
#include "link/SerialPort.h"

namespace tesmira::ui {

QString PortAccessHint(const SerialPort& port) {
    const std::string_view note = PortAccessNote(port.LastOpenFailure());
    return QString::fromUtf8(note.data(), static_cast<qsizetype>(note.size()));
}

} // namespace tesmira::ui
