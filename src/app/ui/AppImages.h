// The program's own pictures, drawn in code: its icon, the logo of the work area and the image of
// a device port in the port list.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tesmira::ui {

// A shield with a "T": the program's icon and the about box's image.
QIcon ApplicationIcon();

// The shield and the name "Tesmira" beside it, `height` pixels high.
QPixmap LogoPixmap(int height);

// A small USB plug: image 0 of the main window's image list, for ports that look like a device.
QIcon DevicePortIcon();

} // namespace tesmira::ui
