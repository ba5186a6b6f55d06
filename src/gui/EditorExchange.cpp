#include "gui/EditorExchange.h"

#include "gui/DeviceEditor.h"
#include "gui/ReportBridge.h"
#include "link/LinkModule.h"

#include <QPointer>

namespace tesmira::ui {

bool StartEditorExchange(DeviceEditor& editor, LinkModule& link, ExchangeMode mode,
                         const FrameWriter& writeFrame) {
    if (link.ExchangeBusy())
        return false;
    const std::size_t length = writeFrame(link.TransmitBuffer());
    if (length == 0)
        return false;
    // The device menu stays usable during an exchange, so the editor may be replaced before its
    // exchange ends. The main window still waits for the outcome to give the user the controls
    // back: without the editor, it gets the outcome directly.
    QPointer<QObject> mainWindow = editor.MainWindowHandle;
    QObject* receiver = mainWindow ? mainWindow.data() : &editor;
    auto bridge = ReportBridge::create(receiver, [form = QPointer<DeviceEditor>(&editor),
                                                  mainWindow](ExchangeReport code, int arg) {
        if (form) {
            form->OnExchangeReport(static_cast<int>(code), arg);
            return;
        }
        const auto report = EditorReportFor(code);
        if (auto* target = dynamic_cast<EditorReportReceiver*>(mainWindow.data());
            target != nullptr && report)
            target->OnEditorReport(*report, nullptr);
    });
    return link.StartExchange(mode, std::move(bridge), static_cast<int>(length));
}

} // namespace tesmira::ui
