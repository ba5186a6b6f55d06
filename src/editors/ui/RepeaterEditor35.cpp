#include "editors/ui/RepeaterEditor35.h"

#include "editors/ObjectList.h"
#include "editors/ui/ObjectsWindow.h"
#include "link/LinkModule.h"
#include "model/DeviceCatalogue.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tesmira::ui {

RepeaterEditor35::RepeaterEditor35(LinkModule& link, QWidget* parent)
    : DeviceEditor(link, config_, parent),
      objects_(new ObjectsWindow(RepeaterRecord35::kObjectCount, this)) {
    DeviceType = RepeaterRecord35::kType;
    setWindowTitle(QString::fromStdString(DeviceTypeName(DeviceType)));
    BuildControls();
    ConnectHandlers();
    RecordToControls();
}

// --- showing the record ---

void RepeaterEditor35::RecordToControls() {
    Select(receiveLetter_, config_.record.ReceiveLetterIndex());
    Select(transmissionMode_, config_.record.TransmissionModeIndex());
    ShowTransmitLetters(config_.record.TransmitLetterView());
    SetCheckedSilently(rs485_, config_.record.Rs485());
    SetCheckedSilently(stavelDelay_, config_.record.StavelDelay());
    SetCheckedSilently(activateRelays_, config_.record.ActivateRelays());
    for (const ChannelCheck check : {ChannelCheck::Stavel, ChannelCheck::Site})
        ShowCoded(ChannelCheckBox(check), config_.record.ChannelCheckPeriod(check),
                  QString::fromStdString(config_.record.ChannelCheckText(check)));
    for (int zone = 1; zone <= RepeaterRecord35::kZoneCount; ++zone)
        ShowZone(zone);
    for (const Delay delay : {Delay::Entry, Delay::Exit})
        DelayEdit(delay)->setText(QString::fromStdString(config_.record.DelayText(delay)));
    shared_.Show(config_.record);
    SetCheckedSilently(lockAfterAlarm_, config_.record.LockAfterAlarm());
    SetCheckedSilently(communicatorConnected_, config_.record.CommunicatorConnected());
    ShowObjectsCaption();
}

void RepeaterEditor35::OnClosing() {
    SendEditorReport(EditorReport::Closing);
}

// --- showing ---

void RepeaterEditor35::ShowTransmitLetters(const RepeaterRecord35::TransmitLetters& letters) {
    FillComboFromList(transmitLetter_, Texts(letters.items));
    Select(transmitLetter_, letters.index);
    transmitLetter_->setVisible(letters.letterVisible);
    transmitLetterLabel_->setVisible(letters.letterVisible);
    rs485_->setVisible(letters.rs485Visible);
}

void RepeaterEditor35::ShowZone(int zone) {
    Zone(zone).Show(config_.record.ZoneTypeIndex(zone), config_.record.ZoneEventEnabled(zone),
                    config_.record.ZoneEvent(zone).value_or(0));
}

// After the first round trip the button counts the record's active objects.
void RepeaterEditor35::ShowObjectsCaption() {
    std::optional<int> count;
    if (objectsClosedOnce_)
        count = ObjectList::ActiveCountOf(config_.record.Objects());
    objectsButton_->setText(QString::fromStdString(ObjectsButtonCaption(count)));
}

QComboBox* RepeaterEditor35::ChannelCheckBox(ChannelCheck check) const {
    return check == ChannelCheck::Stavel ? stavelChannelCheck_ : siteChannelCheck_;
}

QLineEdit* RepeaterEditor35::DelayEdit(Delay delay) const {
    return delay == Delay::Entry ? entryDelay_ : exitDelay_;
}

// --- handlers ---

void RepeaterEditor35::onTransmissionModeChosen(int index) {
    const auto letters = config_.record.SetTransmissionModeFromIndex(index);
    if (!letters)
        return;
    ShowTransmitLetters(*letters);
    SetCheckedSilently(rs485_, false);
}

void RepeaterEditor35::onZoneTypeChosen(int zone) {
    const auto change = config_.record.SetZoneType(zone, Zone(zone).TypeCode());
    if (change && Zone(zone).ShowTypeChange(*change))
        onZoneEventChosen(zone);
}

void RepeaterEditor35::onZoneEventChosen(int zone) {
    config_.record.SetZoneEvent(zone, Zone(zone).EventIndex());
}

void RepeaterEditor35::onObjectsClicked() {
    objects_->EditObjects(config_.record.Objects());
    objectsClosedOnce_ = true;
    ShowObjectsCaption();
}

// Only the user's own actions reach the handlers: `activated` and `clicked` are not emitted when
// RecordToControls sets a selection or a check; edits and editable lists are watched for leaving.
void RepeaterEditor35::ConnectHandlers() {
    connect(receiveLetter_, &QComboBox::activated, this,
            [this](int index) { config_.record.SetReceiveLetterFromIndex(index); });
    connect(transmissionMode_, &QComboBox::activated, this,
            &RepeaterEditor35::onTransmissionModeChosen);
    connect(transmitLetter_, &QComboBox::activated, this,
            [this](int index) { config_.record.SetTransmitLetterFromIndex(index); });
    connect(rs485_, &QCheckBox::clicked, this, [this](bool on) { config_.record.SetRs485(on); });
    connect(communicatorConnected_, &QCheckBox::clicked, this,
            [this](bool on) { config_.record.SetCommunicatorConnected(on); });
    connect(stavelDelay_, &QCheckBox::clicked, this,
            [this](bool on) { config_.record.SetStavelDelay(on); });
    connect(activateRelays_, &QCheckBox::clicked, this,
            [this](bool on) { config_.record.SetActivateRelays(on); });
    connect(lockAfterAlarm_, &QCheckBox::clicked, this,
            [this](bool on) { config_.record.SetLockAfterAlarm(on); });
    shared_.Connect(this, config_.record);
    for (const ChannelCheck check : {ChannelCheck::Stavel, ChannelCheck::Site}) {
        QComboBox* box = ChannelCheckBox(check);
        connect(box, &QComboBox::activated, this, [this, check, box] {
            config_.record.SetChannelCheckPeriod(check, ItemCodeOf(box));
        });
        AddCorrectedField(box, [this, check](const std::string& text) {
            return config_.record.SetChannelCheckFromText(check, text);
        });
    }
    for (const Delay delay : {Delay::Entry, Delay::Exit})
        AddCorrectedField(DelayEdit(delay), [this, delay](const std::string& text) {
            return config_.record.SetDelayFromText(delay, text);
        });
    for (int zone = 1; zone <= RepeaterRecord35::kZoneCount; ++zone)
        Zone(zone).Connect(
            this, [this, zone] { onZoneTypeChosen(zone); },
            [this, zone] { onZoneEventChosen(zone); });
    connect(objectsButton_, &QPushButton::clicked, this, &RepeaterEditor35::onObjectsClicked);
}

} // namespace tesmira::ui
