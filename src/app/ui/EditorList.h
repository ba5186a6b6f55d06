// The device editors the program offers, registered in the factory where the program is assembled.
#pragma once

namespace tesmira::ui {

class EditorFactory;

// Registers every editor of the program. Called once at start-up, before the main window opens.
void RegisterEditors(EditorFactory& factory);

} // namespace tesmira::ui
