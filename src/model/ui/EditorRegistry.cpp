// The editors the program offers. Each editor adds its header below and one Register line, e.g.
// DeviceFactory::Register<TDev_026>(26). A plain list rather than static registrar objects, which
// the linker drops from a static library; tests register their own editors and do not call this.
#include "editors/ui/DF_026.h"
#include "editors/ui/DF_027.h"
#include "model/ui/DeviceFactory.h"

namespace tesmira::ui {

void RegisterEditors() {
    DeviceFactory::Register<TDev_026>(26);
    DeviceFactory::Register<TDev_027>(27);
}

} // namespace tesmira::ui
