// Opens the one device editor for a type code, replacing an editor of another type, and keeps the
// reference to it. The program registers its editors once (see RegisterEditors); tests register
// their own.
#pragma once

#include "gui/DeviceEditor.h"

#include <QPointer>

#include <cstdint>
#include <functional>
#include <map>

class QMdiArea;
class QObject;

namespace tesmira::ui {

class EditorFactory {
public:
    using Maker = std::function<DeviceEditor*(LinkModule& link)>;

    // Every editor it makes is given `link`, which must outlive the factory and its editors.
    explicit EditorFactory(LinkModule& link);
    EditorFactory(const EditorFactory&) = delete;
    EditorFactory& operator=(const EditorFactory&) = delete;

    // The maker for a code replaces any earlier one; an empty maker removes it.
    void Register(std::uint8_t code, Maker make);

    template <class Editor> void Register(std::uint8_t code) {
        Register(code, [](LinkModule& link) { return new Editor(link); });
    }

    bool HasEditor(std::uint8_t code) const;

    // Makes the editor for `code` current and returns true, or returns false:
    //  - code 0 changes nothing;
    //  - an editor of another type is closed first (its close handling runs);
    //  - without a registered editor for the code nothing is current afterwards;
    //  - an editor of the same type is kept; new or kept, it is captioned with the type's name,
    //    given `mainWindow` and `code`, placed at 0,0 and reset with SetDefaults, which then counts
    //    as unchanged.
    // A new editor becomes a frameless, visible subwindow of `owner` (a top-level window without
    // one).
    bool Open(std::uint8_t code, QMdiArea* owner, QObject* mainWindow);

    // The one open editor, or null. Never dangles: an editor that is freed or closing is
    // forgotten.
    DeviceEditor* Current();

    // The main window's handling of a closing report: forgets `sender` if it is still current (or
    // if nothing is current any more) and returns true; a report from an editor that has meanwhile
    // been replaced changes nothing and returns false.
    bool Forget(const DeviceEditor* sender);

    // Closes the current editor, if any, and forgets it (program exit).
    void CloseCurrent();

private:
    QPointer<DeviceEditor>& CurrentRef();
    DeviceEditor* Create(std::uint8_t code, QMdiArea* owner);

    LinkModule& link_;
    std::map<std::uint8_t, Maker> makers_;
    QPointer<DeviceEditor> current_;
};

} // namespace tesmira::ui
