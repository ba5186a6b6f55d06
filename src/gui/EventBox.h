// Drop-down list of Contact ID events; each item carries the event index a record stores.
#pragma once

#include <QComboBox>

#include <cstdint>

namespace tesmira::ui {

// Not editable. Only the user's picks emit `activated`/`textActivated`: editors put their change
// handler there, so that FillItems and SelectEvent, which show a record, run no handler.
class EventBox : public QComboBox {
    Q_OBJECT
public:
    explicit EventBox(QWidget* parent = nullptr);

    // Empties the box and leaves it without selection, then offers every listed event in row
    // order; user events only when `allEvents` is nonzero.
    void FillItems(int allEvents);

    // Event text of any row, listed or not: "130 - ВТОРЖЕНИЕ".
    QString EventTextOf(std::uint8_t index) const;

    // Event index of the item the box shows; 0 while it shows none.
    std::uint8_t EventIndex() const;

    // Selects the event with this index; a row the box does not offer leaves it without selection.
    // The byte 0 names no event and leaves the selection as it was.
    void SelectEvent(std::uint8_t index);

    // Shows a record's event: selected, or no selection when the box does not offer it (also for
    // the byte 0), never the event shown before.
    void ShowEvent(std::uint8_t index);

    // Event index of the first row with this Contact ID code, 0 when none has it.
    static std::uint8_t EventIndexOfCode(int code);
};

} // namespace tesmira::ui
