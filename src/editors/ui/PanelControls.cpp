#include "editors/ui/PanelControls.h"

#include "editors/PanelCommon.h"
#include "gui/EditHelpers.h"
#include "gui/FormControls.h"
#include "gui/UpDownField.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

namespace tesmira::ui {

QComboBox* BuzzerBox() {
    return List("bxBuzzer", BuzzerItems());
}

QWidget* NetworkNumberRow(int min, int max, UpDownField*& field) {
    auto* row = Named(new QWidget, "wgtNetNum");
    field = Named(new UpDownField(min, max), "udNetNum");
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Label("lblNetNum", QStringLiteral("Сетевой\nномер")));
    layout->addWidget(field);
    layout->addStretch();
    return row;
}

} // namespace tesmira::ui
