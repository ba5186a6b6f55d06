#include "editors/ui/RepeaterEditor35.h"

#include "editors/ObjectList.h"
#include "editors/ui/ObjectsWindow.h"
#include "gui/EventBox.h"
#include "link/LinkModule.h"
#include "model/DeviceCatalogue.h"
#include "model/ZoneTypes.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tesmira::ui {

RepeaterEditor35::RepeaterEditor35(LinkModule& link, QWidget* parent)
    : DeviceEditor(link, parent),
      objects_(new ObjectsWindow(RepeaterRecord35::kObjectCount, this)) {
    DeviceType = RepeaterRecord35::kType;
    setWindowTitle(QString::fromStdString(DeviceTypeName(DeviceType)));
    BuildControls();
    ConnectHandlers();
    RecordToControls();
}

// --- the seven operations ---

void RepeaterEditor35::SetDefaults() {
    record_.Assign(RepeaterRecord35::Defaults());
    RecordToControls();
}

bool RepeaterEditor35::LoadFromReply() {
    return LoadFromReplyBytes(Link().Reply(), record_.bytes());
}

void RepeaterEditor35::WriteToDevice() {
    StartWrite([this](std::span<std::uint8_t> tx) { return record_.WriteFrame(tx, DeviceType); });
}

void RepeaterEditor35::SaveToFile(const QString& fileName) {
    CommitEdit();
    SaveRecordsToFile(fileName, {record_.bytes()});
}

void RepeaterEditor35::LoadFromFile(ConfigFile& reader) {
    LoadRecordFromFile(reader, record_.bytes());
}

void RepeaterEditor35::RecordToControls() {
    Select(bxRetLiterRX, record_.ReceiveLetterIndex());
    Select(bxRetTxMode, record_.TransmissionModeIndex());
    ShowTransmitLetters(record_.TransmitLetterView());
    SetCheckedSilently(chkRetTx485, record_.Rs485());
    SetCheckedSilently(chkStavelDelay, record_.StavelDelay());
    SetCheckedSilently(chkRetActivateRele, record_.ActivateRelays());
    for (const ChannelCheck check : {ChannelCheck::Stavel, ChannelCheck::Site})
        ShowChannelCheck(check, QString::fromStdString(record_.ChannelCheckText(check)));
    for (int zone = 1; zone <= RepeaterRecord35::kZoneCount; ++zone)
        ShowZone(zone);
    for (const Delay delay : {Delay::Entry, Delay::Exit})
        DelayEdit(delay)->setText(QString::fromStdString(record_.DelayText(delay)));
    shared_.Show(record_);
    SetCheckedSilently(chkLockAlrm, record_.LockAfterAlarm());
    SetCheckedSilently(chkCNC_TxGSM, record_.CommunicatorConnected());
    ShowObjectsCaption();
}

void RepeaterEditor35::CommitEdit() {
    StoreTypedValue(focusWidget());
}

void RepeaterEditor35::OnClosing() {
    SendEditorReport(EditorReport::Closing);
}

// --- showing ---

void RepeaterEditor35::ShowTransmitLetters(const RepeaterRecord35::TransmitLetters& letters) {
    FillComboFromList(bxRetLiterTX, Texts(letters.items));
    Select(bxRetLiterTX, letters.index);
    bxRetLiterTX->setVisible(letters.letterVisible);
    lblRetLiterTX->setVisible(letters.letterVisible);
    chkRetTx485->setVisible(letters.rs485Visible);
}

// The list's own item when it has the text ("Выкл." is item 0), else the typed number as it is.
void RepeaterEditor35::ShowChannelCheck(ChannelCheck check, const QString& text) {
    QComboBox* box = ChannelCheckBox(check);
    const int item = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(item);
    if (item < 0)
        box->setEditText(text);
}

void RepeaterEditor35::ShowZone(int zone) {
    QComboBox* types = cbbRetShlfType[zone - 1];
    EventBox* events = bxShlfEvent[zone - 1];
    Select(types, record_.ZoneTypeIndex(zone));
    events->setEnabled(record_.ZoneEventEnabled(zone));
    events->ShowEvent(record_.ZoneEvent(zone).value_or(0));
}

// After the first round trip the button counts the record's active objects.
void RepeaterEditor35::ShowObjectsCaption() {
    std::optional<int> count;
    if (objectsClosedOnce_)
        count = ObjectList::ActiveCountOf(record_.Objects());
    btnRetObj->setText(QString::fromStdString(ObjectsButtonCaption(count)));
}

QComboBox* RepeaterEditor35::ChannelCheckBox(ChannelCheck check) const {
    return check == ChannelCheck::Stavel ? cbbStavelCheck : cbbObjCheck;
}

QLineEdit* RepeaterEditor35::DelayEdit(Delay delay) const {
    return delay == Delay::Entry ? edtRetDelIn : edtRetDelOut;
}

// --- handlers ---

void RepeaterEditor35::onTransmissionModeChosen(int index) {
    const auto letters = record_.SetTransmissionModeFromIndex(index);
    if (!letters)
        return;
    ShowTransmitLetters(*letters);
    SetCheckedSilently(chkRetTx485, false);
}

void RepeaterEditor35::onChannelCheckEdited(ChannelCheck check) {
    const QString text = ChannelCheckBox(check)->currentText();
    if (const auto shown = record_.SetChannelCheckFromText(check, text.toStdString()))
        ShowChannelCheck(check, QString::fromStdString(*shown));
}

void RepeaterEditor35::onZoneTypeChosen(QComboBox* box) {
    const int zone = TagOf(box);
    const auto change = record_.SetZoneType(zone, ZoneTypeByName(box->currentText().toStdString()));
    if (!change)
        return;
    EventBox* events = bxShlfEvent[zone - 1];
    events->setEnabled(change->eventEnabled);
    if (change->eventToShow) {
        events->SelectEvent(*change->eventToShow);
        onZoneEventChosen(events);
    }
}

void RepeaterEditor35::onZoneEventChosen(EventBox* box) {
    record_.SetZoneEvent(TagOf(box), box->EventIndexOf(box->currentText()));
}

void RepeaterEditor35::onDelayEdited(Delay delay) {
    QLineEdit* edit = DelayEdit(delay);
    ShowCorrected(edit, record_.SetDelayFromText(delay, edit->text().toStdString()));
}

void RepeaterEditor35::onObjectsClicked() {
    objects_->EditObjects(record_.Objects());
    objectsClosedOnce_ = true;
    ShowObjectsCaption();
}

bool RepeaterEditor35::StoreTypedValue(const QObject* control) {
    if (control == nullptr)
        return false;
    if (control == edtRetDelIn || control == edtRetDelOut)
        onDelayEdited(control == edtRetDelIn ? Delay::Entry : Delay::Exit);
    else if (control == cbbStavelCheck || control == cbbStavelCheck->lineEdit())
        onChannelCheckEdited(ChannelCheck::Stavel);
    else if (control == cbbObjCheck || control == cbbObjCheck->lineEdit())
        onChannelCheckEdited(ChannelCheck::Site);
    else
        return false;
    return true;
}

bool RepeaterEditor35::eventFilter(QObject* watched, QEvent* event) {
    if (LeavesControl(*event))
        StoreTypedValue(watched);
    return DeviceEditor::eventFilter(watched, event);
}

// Only the user's own actions reach the handlers: `activated` and `clicked` are not emitted when
// RecordToControls sets a selection or a check; edits and editable lists are watched for leaving.
void RepeaterEditor35::ConnectHandlers() {
    connect(bxRetLiterRX, &QComboBox::activated, this,
            [this](int index) { record_.SetReceiveLetterFromIndex(index); });
    connect(bxRetTxMode, &QComboBox::activated, this, &RepeaterEditor35::onTransmissionModeChosen);
    connect(bxRetLiterTX, &QComboBox::activated, this,
            [this](int index) { record_.SetTransmitLetterFromIndex(index); });
    connect(chkRetTx485, &QCheckBox::clicked, this, [this](bool on) { record_.SetRs485(on); });
    connect(chkCNC_TxGSM, &QCheckBox::clicked, this,
            [this](bool on) { record_.SetCommunicatorConnected(on); });
    connect(chkStavelDelay, &QCheckBox::clicked, this,
            [this](bool on) { record_.SetStavelDelay(on); });
    connect(chkRetActivateRele, &QCheckBox::clicked, this,
            [this](bool on) { record_.SetActivateRelays(on); });
    connect(chkLockAlrm, &QCheckBox::clicked, this,
            [this](bool on) { record_.SetLockAfterAlarm(on); });
    shared_.Connect(this, record_);
    for (const ChannelCheck check : {ChannelCheck::Stavel, ChannelCheck::Site}) {
        QComboBox* box = ChannelCheckBox(check);
        connect(box, &QComboBox::activated, this, [this, check] { onChannelCheckEdited(check); });
        box->installEventFilter(this);
    }
    for (int i = 0; i < RepeaterRecord35::kZoneCount; ++i) {
        QComboBox* types = cbbRetShlfType[i];
        EventBox* events = bxShlfEvent[i];
        connect(types, &QComboBox::activated, this, [this, types] { onZoneTypeChosen(types); });
        connect(events, &QComboBox::activated, this, [this, events] { onZoneEventChosen(events); });
    }
    connect(btnRetObj, &QPushButton::clicked, this, &RepeaterEditor35::onObjectsClicked);
}

} // namespace tesmira::ui
