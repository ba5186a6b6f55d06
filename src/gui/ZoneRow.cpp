#include "gui/ZoneRow.h"

#include "gui/EditHelpers.h"
#include "gui/EventBox.h"
#include "gui/FormControls.h"
#include "gui/ZoneTypeBox.h"
#include "model/ZoneTypes.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace tesmira::ui {

QByteArray NumberedName(const char* stem, int number) {
    return QByteArray(stem) + QByteArray::number(number);
}

void ZoneRow::Show(std::optional<int> typeIndex, bool eventEnabled, std::uint8_t eventIndex) const {
    Select(type, typeIndex);
    event->setEnabled(eventEnabled);
    event->ShowEvent(eventIndex);
}

bool ZoneRow::ShowTypeChange(const ZoneTypeChange& change) const {
    event->setEnabled(change.eventEnabled);
    if (!change.eventToShow)
        return false;
    event->SelectEvent(*change.eventToShow);
    return true;
}

int ZoneRow::TypeCode() const {
    return ItemCodeOf(type);
}

std::uint8_t ZoneRow::EventIndex() const {
    return event->EventIndex();
}

void ZoneRow::Connect(QObject* context, std::function<void()> onTypePicked,
                      std::function<void()> onEventPicked) const {
    QObject::connect(type, &QComboBox::activated, context, std::move(onTypePicked));
    QObject::connect(event, &QComboBox::activated, context, std::move(onEventPicked));
}

ZoneRow BuildZoneRow(int zone, const char* labelStem, const char* typeStem, const char* eventStem,
                     std::uint8_t selector, bool allEvents) {
    ZoneRow row;
    if (labelStem != nullptr)
        row.label =
            Label(NumberedName(labelStem, zone).constData(), QStringLiteral("ШС%1:").arg(zone));
    row.type = Named(new QComboBox, NumberedName(typeStem, zone).constData(), zone);
    FillZoneTypeBox(row.type, selector);
    row.event = Named(new EventBox, NumberedName(eventStem, zone).constData(), zone);
    row.event->FillItems(allEvents ? 1 : 0);
    return row;
}

QWidget* ZoneGrid(std::span<const ZoneRow> rows, const char* typeHead, const char* eventHead) {
    auto* zones = new QWidget;
    auto* grid = new QGridLayout(zones);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Label(typeHead, QStringLiteral("Тип шлейфа")), 0, 1);
    grid->addWidget(Label(eventHead, QStringLiteral("Код события")), 0, 2);
    int at = 1;
    for (const ZoneRow& row : rows) {
        if (row.label != nullptr)
            grid->addWidget(row.label, at, 0);
        grid->addWidget(row.type, at, 1);
        grid->addWidget(row.event, at, 2);
        ++at;
    }
    grid->setColumnStretch(3, 1);
    return zones;
}

QGroupBox* DelayGroup(int digits, QLineEdit*& entry, QLineEdit*& exit) {
    auto* group = Named(new QGroupBox(QStringLiteral("Задержка, сек")), "grpDelayTime");
    entry = NumberEdit("edtRetDelIn", digits);
    exit = NumberEdit("edtRetDelOut", digits);
    auto* form = new QFormLayout(group);
    form->addRow(Label("lblRetDelIn", QStringLiteral("вход:")), entry);
    form->addRow(Label("lblRetDelOut", QStringLiteral("выход:")), exit);
    return group;
}

} // namespace tesmira::ui
