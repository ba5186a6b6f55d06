#include "model/ui/ZoneTypeBox.h"

#include "link/ui/ImageList.h"
#include "model/ZoneTypes.h"
#include "model/ui/EditHelpers.h"

#include <QComboBox>

namespace tesmira::ui {

void FillZoneTypeBox(QComboBox* box, std::uint8_t selector) {
    const auto offered = ZoneTypeSelection(selector);
    if (box == nullptr || !offered) {
        return;
    }
    const auto& names = ZoneTypeNameTable();
    const QList<QIcon>& images = il2();
    box->clear();
    box->setIconSize(kImageListIconSize);
    for (const std::uint8_t code : *offered) {
        box->addItem(images.value(code), FromUtf8(names[code]));
    }
    // Like an event box, a freshly filled box shows nothing until a record is shown in it.
    box->setCurrentIndex(-1);
}

} // namespace tesmira::ui
