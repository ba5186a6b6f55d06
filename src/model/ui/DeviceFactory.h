// Opens the one device editor for a type code, replacing an editor of another type, and keeps the
// reference to it. The editor classes are registered in one list (see RegisterEditors).
#pragma once

#include "model/ui/DF_000.h"

#include <cstdint>
#include <functional>

class QMdiArea;
class QObject;

namespace tesmira::ui {

using EditorMaker = std::function<TDeviceForm*()>;

namespace DeviceFactory {

// The maker for a code replaces any earlier one; an empty maker removes it.
void Register(std::uint8_t code, EditorMaker make);

template <class Editor> void Register(std::uint8_t code) {
    Register(code, [] { return new Editor(); });
}

bool HasEditor(std::uint8_t code);

} // namespace DeviceFactory

// Registers every editor the program offers (the list is in EditorRegistry.cpp). Called once at
// start-up, before the main window builds its menu.
void RegisterEditors();

// Makes the editor for `code` current and returns true, or returns false:
//  - code 0 changes nothing;
//  - an editor of another type is closed first (its close handling runs);
//  - without a registered editor for the code nothing is current afterwards;
//  - an editor of the same type is kept; new or kept, it is captioned with the type's name, given
//    `mainWindow` and `code`, placed at 0,0 and reset with SetDefaults.
// A new editor becomes a frameless, visible subwindow of `owner` (a top-level window without one).
bool OpenDeviceEditor(std::uint8_t code, QMdiArea* owner, QObject* mainWindow);

// The one open editor, or null. Never dangles: an editor that is freed is forgotten.
TDeviceForm* CurrentEditor();

// The main window's handling of a closing report: forgets `sender` if it is still current (or if
// nothing is current any more) and returns true; a report from an editor that has meanwhile been
// replaced changes nothing and returns false.
bool ForgetEditor(const TDeviceForm* sender);

// Closes the current editor, if any, and forgets it (program exit).
void CloseCurrentEditor();

} // namespace tesmira::ui
