// The about box, built in code from the program's compiled-in version information.
#pragma once

#include "app/VersionInfo.h"

#include <QDialog>

#include <memory>
#include <span>

namespace tesmira::ui {

// The box for these values, not shown; null when there is no version information. Caption
// "О программе: " + the application title, the application icon, the labels, the "Ok" button.
std::unique_ptr<QDialog> BuildAboutBox(QWidget* parent, std::span<const VersionValue> values);

// Builds the box from the program's own version information, shows it modally and frees it.
void ShowAboutBox(QWidget* parent = nullptr);

} // namespace tesmira::ui
