#include "editors/ui/EditorExchange.h"

#include "link/NonVisComp.h"
#include "link/ui/ReportBridge.h"
#include "model/ui/DF_000.h"

namespace tesmira::ui {

bool StartEditorExchange(TDeviceForm& editor, ExchangeMode mode, const FrameWriter& writeFrame) {
    TNonVisComp& link = DataModule();
    if (link.ExchangeBusy())
        return false;
    const std::size_t length = writeFrame(link.TransmitBuffer());
    if (length == 0)
        return false;
    // The bridge hands reports over only while the editor lives.
    auto bridge = ReportBridge::create(&editor, [form = &editor](ThreadReport code, int arg) {
        form->GetThread_MSG(static_cast<int>(code), arg);
    });
    return link.StartExchange(mode, std::move(bridge), static_cast<int>(length));
}

} // namespace tesmira::ui
