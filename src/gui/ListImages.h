// The pictures shared by the lists and boxes of the editors: zone types and the check mark of list
// rows.
#pragma once

#include <QIcon>
#include <QList>
#include <QSize>

class QPainter;

namespace tesmira::ui {

// Zone type n (0..8) has its picture at index n; 9..16 are empty icons.
inline constexpr int kCheckMarkImage = 17;
inline constexpr int kListImageCount = 18;
inline constexpr QSize kListImageSize{16, 16};

// The icons are drawn on demand at whatever size a view asks for, so the list can be built before
// the application object and outlive it.
const QList<QIcon>& ListImages();

// An icon painted by `drawing` on a 16 x 16 grid, scaled to the size a view asks for (drawn
// lighter when disabled). The pictures of ListImages are made so.
using IconDrawing = void (*)(QPainter&);
QIcon DrawnIcon(IconDrawing drawing);

} // namespace tesmira::ui
