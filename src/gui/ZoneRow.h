// One zone's row in an editor with zones (its label, zone-type box and event box), the grid the
// smaller editors lay their rows out in, and the entry and exit delay group.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QObject;
class QWidget;

namespace tesmira {
struct ZoneTypeChange;
}

namespace tesmira::ui {

class EventBox;

// The object name of a numbered control: "cbbZoneType" and 3 give "cbbZoneType3".
QByteArray NumberedName(const char* stem, int number);

struct ZoneRow {
    QLabel* label = nullptr; // "ШС<n>:"; null where the editor shows no label for the zone
    QComboBox* type = nullptr;
    EventBox* event = nullptr;

    // A stored zone: its type item (none for a code no item has) and its event, selected or none;
    // the event box is disabled while the zone is off.
    void Show(std::optional<int> typeIndex, bool eventEnabled, std::uint8_t eventIndex) const;
    // After a type pick: the event box enabled as the type wants and showing the type's default
    // event, when it has one. True then: what the box shows is the zone's event now.
    bool ShowTypeChange(const ZoneTypeChange& change) const;
    // The code of the type shown (-1 for none) and the event index shown (0 for none).
    int TypeCode() const;
    std::uint8_t EventIndex() const;

    // Only the user's picks (`activated`) reach the handlers.
    void Connect(QObject* context, std::function<void()> onTypePicked,
                 std::function<void()> onEventPicked) const;
};

// Zone `zone`'s row: the boxes `typeStem`<n> and `eventStem`<n>, tagged with the zone, offering
// the zone types of `selector` and the events with or without the user events; the label
// `labelStem`<n> only when a stem is given.
ZoneRow BuildZoneRow(int zone, const char* labelStem, const char* typeStem, const char* eventStem,
                     std::uint8_t selector, bool allEvents);

// The two-loop, five-zone and type 35 zone grid: "Тип шлейфа" and "Код события" (named
// `typeHead` and `eventHead`) over the type and event columns, each row's label before them.
QWidget* ZoneGrid(std::span<const ZoneRow> rows, const char* typeHead, const char* eventHead);

// "Задержка, сек" ("grpDelayTime"): "вход:" over "edtRetDelIn", "выход:" over "edtRetDelOut",
// each `digits` digits wide; the edits are handed out.
QGroupBox* DelayGroup(int digits, QLineEdit*& entry, QLineEdit*& exit);

} // namespace tesmira::ui
