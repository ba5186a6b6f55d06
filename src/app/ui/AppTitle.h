// The application's title ("Программатор"): set at start-up, used by the about box and captions.
#pragma once

#include <QString>

namespace tesmira::ui {

// Kept apart from the window titles: Qt would append an application display name to every
// window's caption, and the main window's caption is "Tesmira".
void SetApplicationTitle(const QString& title);
QString ApplicationTitle();

} // namespace tesmira::ui
