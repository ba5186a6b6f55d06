// The Qt rendering of the device menu layout of the catalogue.
#pragma once

#include <cstdint>
#include <functional>

class QMenu;

namespace tesmira::ui {

// Appends "Недавно выбранный" (runs onRecent), a separator and the device submenus to `menu`.
// Each device item carries its type code as its data and runs onDevice with it.
void AppendDeviceMenu(QMenu* menu, std::function<void(std::uint8_t)> onDevice,
                      std::function<void()> onRecent);

} // namespace tesmira::ui
