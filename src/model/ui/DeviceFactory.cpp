#include "model/ui/DeviceFactory.h"

#include "model/DeviceCatalogue.h"
#include "model/ui/EditHelpers.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include <map>

namespace tesmira::ui {

namespace {

std::map<std::uint8_t, EditorMaker>& Makers() {
    static std::map<std::uint8_t, EditorMaker> makers;
    return makers;
}

// An editor that is being closed, whoever closed it, is no longer current.
QPointer<TDeviceForm>& Current() {
    static QPointer<TDeviceForm> current;
    if (current && current->IsClosing())
        current.clear();
    return current;
}

// The window that is moved and shown: the MDI frame around the editor, or the editor itself.
QWidget* Frame(TDeviceForm* editor) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(editor->parentWidget()))
        return frame;
    return editor;
}

TDeviceForm* CreateEditor(std::uint8_t code, QMdiArea* owner) {
    const auto found = Makers().find(code);
    if (found == Makers().end())
        return nullptr;
    TDeviceForm* editor = found->second();
    if (editor == nullptr)
        return nullptr;
    if (owner != nullptr)
        AddFramelessChild(owner, editor);
    Frame(editor)->show();
    return editor;
}

} // namespace

void DeviceFactory::Register(std::uint8_t code, EditorMaker make) {
    if (make)
        Makers()[code] = std::move(make);
    else
        Makers().erase(code);
}

bool DeviceFactory::HasEditor(std::uint8_t code) {
    return Makers().contains(code);
}

bool OpenDeviceEditor(std::uint8_t code, QMdiArea* owner, QObject* mainWindow) {
    if (code == 0)
        return false;
    QPointer<TDeviceForm>& current = Current();
    if (current && current->DeviceType != code)
        CloseCurrentEditor();
    if (!current) {
        current = CreateEditor(code, owner);
        if (!current)
            return false;
    }
    TDeviceForm* editor = current.data();
    editor->setWindowTitle(QString::fromStdString(DeviceTypeName(code)));
    editor->MainWindowHandle = mainWindow;
    editor->DeviceType = code;
    Frame(editor)->move(0, 0);
    editor->SetDefaults();
    return true;
}

TDeviceForm* CurrentEditor() {
    return Current().data();
}

bool ForgetEditor(const TDeviceForm* sender) {
    QPointer<TDeviceForm>& current = Current();
    if (current && current.data() != sender)
        return false;
    current.clear();
    return true;
}

void CloseCurrentEditor() {
    QPointer<TDeviceForm>& current = Current();
    TDeviceForm* editor = current.data();
    current.clear();
    if (editor != nullptr)
        editor->CloseEditor();
}

} // namespace tesmira::ui
