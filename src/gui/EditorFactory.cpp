#include "gui/EditorFactory.h"

#include "gui/EditHelpers.h"
#include "model/DeviceCatalogue.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace tesmira::ui {

namespace {

// The window that is moved and shown: the MDI frame around the editor, or the editor itself.
QWidget* Frame(DeviceEditor* editor) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(editor->parentWidget()))
        return frame;
    return editor;
}

} // namespace

EditorFactory::EditorFactory(LinkModule& link) : link_(link) {}

void EditorFactory::Register(std::uint8_t code, Maker make) {
    if (make)
        makers_[code] = std::move(make);
    else
        makers_.erase(code);
}

bool EditorFactory::HasEditor(std::uint8_t code) const {
    return makers_.contains(code);
}

// An editor that is being closed, whoever closed it, is no longer current.
QPointer<DeviceEditor>& EditorFactory::CurrentRef() {
    if (current_ && current_->IsClosing())
        current_.clear();
    return current_;
}

DeviceEditor* EditorFactory::Create(std::uint8_t code, QMdiArea* owner) {
    const auto found = makers_.find(code);
    if (found == makers_.end())
        return nullptr;
    DeviceEditor* editor = found->second(link_);
    if (editor == nullptr)
        return nullptr;
    if (owner != nullptr)
        AddFramelessChild(owner, editor);
    Frame(editor)->show();
    return editor;
}

bool EditorFactory::Open(std::uint8_t code, QMdiArea* owner, QObject* mainWindow) {
    if (code == 0)
        return false;
    QPointer<DeviceEditor>& current = CurrentRef();
    if (current && current->DeviceType != code)
        CloseCurrent();
    if (!current) {
        current = Create(code, owner);
        if (!current)
            return false;
    }
    DeviceEditor* editor = current.data();
    editor->setWindowTitle(QString::fromStdString(DeviceTypeName(code)));
    editor->MainWindowHandle = mainWindow;
    editor->DeviceType = code;
    Frame(editor)->move(0, 0);
    editor->SetDefaults(); // a step of a kept editor's history, which a slip takes back
    editor->MarkUnchanged();
    return true;
}

DeviceEditor* EditorFactory::Current() {
    return CurrentRef().data();
}

bool EditorFactory::Forget(const DeviceEditor* sender) {
    QPointer<DeviceEditor>& current = CurrentRef();
    if (current && current.data() != sender)
        return false;
    current.clear();
    return true;
}

void EditorFactory::CloseCurrent() {
    DeviceEditor* editor = CurrentRef().data();
    current_.clear();
    if (editor != nullptr)
        editor->CloseEditor();
}

} // namespace tesmira::ui
