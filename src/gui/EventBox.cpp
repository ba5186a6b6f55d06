#include "gui/EventBox.h"

#include "model/EventTable.h"

#include <optional>

namespace tesmira::ui {

EventBox::EventBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

void EventBox::FillItems(int allEvents) {
    clear();
    setCurrentIndex(-1);
    for (const std::uint8_t row : EventBoxRows(allEvents != 0)) {
        addItem(EventTextOf(row), int{row});
    }
    // addItem on an empty non-editable box selects the first item; the box starts unselected.
    setCurrentIndex(-1);
}

QString EventBox::EventTextOf(std::uint8_t index) const {
    return QString::fromStdString(EventText(index));
}

std::uint8_t EventBox::EventIndex() const {
    if (currentIndex() < 0) {
        return 0;
    }
    return static_cast<std::uint8_t>(currentData().toInt());
}

void EventBox::SelectEvent(std::uint8_t index) {
    const std::optional<std::uint8_t> row = EventRowByDeviceCode(index);
    if (!row) {
        return;
    }
    setCurrentIndex(findData(int{*row}));
}

void EventBox::ShowEvent(std::uint8_t index) {
    setCurrentIndex(-1);
    SelectEvent(index);
}

std::uint8_t EventBox::EventIndexOfCode(int code) {
    return EventIndexByCode(code);
}

} // namespace tesmira::ui
