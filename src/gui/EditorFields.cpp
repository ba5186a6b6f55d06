// The editor's configuration as named fields, and finding the control that shows one of them.
#include "gui/DeviceEditor.h"
#include "model/DeviceConfig.h"

#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>

namespace tesmira::ui {

FieldTable DeviceEditor::ShownFields() const {
    return config_.Fields();
}

bool DeviceEditor::ShowField(const std::string& id, const QString& control,
                             std::optional<FieldCell> cell) {
    auto* widget = findChild<QWidget*>(control);
    if (widget == nullptr)
        return false;
    ShowingField(id);
    // Every page on the way up, from the control's own to the editor's.
    for (QWidget* at = widget; at != nullptr && at != this; at = at->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(at->parentWidget());
        auto* tabs = stack != nullptr ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
        if (tabs != nullptr)
            tabs->setCurrentWidget(at);
    }
    if (auto* table = qobject_cast<QTableWidget*>(widget); table != nullptr && cell) {
        table->setCurrentCell(cell->row, cell->column);
        if (QTableWidgetItem* item = table->item(cell->row, cell->column))
            table->scrollToItem(item);
    }
    widget->setFocus(Qt::OtherFocusReason);
    return true;
}

} // namespace tesmira::ui
