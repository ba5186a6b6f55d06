#include "gui/ZoneTypeBox.h"

#include "gui/EditHelpers.h"
#include "gui/ListImages.h"
#include "model/ZoneTypes.h"

#include <QComboBox>

namespace tesmira::ui {

void FillZoneTypeBox(QComboBox* box, std::uint8_t selector) {
    const auto offered = ZoneTypeSelection(selector);
    if (box == nullptr || !offered) {
        return;
    }
    const auto& names = ZoneTypeNameTable();
    const QList<QIcon>& images = ListImages();
    box->clear();
    box->setIconSize(kListImageSize);
    for (const std::uint8_t code : *offered) {
        box->addItem(images.value(code), FromUtf8(names[code]), int{code});
    }
    // Like an event box, a freshly filled box shows nothing until a record is shown in it.
    box->setCurrentIndex(-1);
}

} // namespace tesmira::ui
