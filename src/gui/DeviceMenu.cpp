#include "gui/DeviceMenu.h"

#include "gui/EditHelpers.h"
#include "model/DeviceCatalogue.h"

#include <QAction>
#include <QMenu>

namespace tesmira::ui {

void AppendDeviceMenu(QMenu* menu, std::function<void(std::uint8_t)> onDevice,
                      std::function<void()> onRecent) {
    QAction* recent = menu->addAction(FromUtf8(kRecentDeviceCaption));
    QObject::connect(recent, &QAction::triggered, menu, [onRecent] {
        if (onRecent)
            onRecent();
    });
    menu->addSeparator();
    for (const DeviceSubmenu& group : DeviceMenuLayout()) {
        QMenu* submenu = menu->addMenu(QString::fromStdString(group.caption));
        for (const DeviceMenuItem& item : group.items) {
            QAction* action = submenu->addAction(QString::fromStdString(item.caption));
            action->setData(item.code);
            const std::uint8_t code = item.code;
            QObject::connect(action, &QAction::triggered, menu, [onDevice, code] {
                if (onDevice)
                    onDevice(code);
            });
        }
    }
}

} // namespace tesmira::ui
