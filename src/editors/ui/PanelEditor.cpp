#include "editors/ui/PanelEditor.h"

#include "editors/ui/DirectionTable.h"
#include "gui/Dialogs.h"
#include "gui/EditHelpers.h"
#include "gui/EventBox.h"
#include "gui/FormControls.h"
#include "gui/OutputMatrix.h"
#include "gui/UpDownField.h"
#include "link/LinkModule.h"
#include "model/BitHelpers.h"
#include "model/DeviceCatalogue.h"
#include "model/ZoneTypes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

namespace tesmira::ui {

namespace {

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

void ShowMessage(QWidget* parent, const PanelRecord::Message& message) {
    Dialogs::message(parent, FromUtf8(message.caption), FromUtf8(message.text),
                     MessageIcon::Warning);
}

} // namespace

PanelEditor::PanelEditor(LinkModule& link, std::uint8_t type, QWidget* parent)
    : DeviceEditor(link, parent), record_(type) {
    DeviceType = type;
    setWindowTitle(QString::fromStdString(DeviceTypeName(type)));
    BuildControls();
    ConnectHandlers();
    RecordToControls();
}

// --- the seven operations ---

void PanelEditor::SetDefaults() {
    record_.SetDefaults();
    RecordToControls();
}

bool PanelEditor::LoadFromReply() {
    return LoadFromReplyBytes(Link().Reply(), record_.bytes());
}

void PanelEditor::WriteToDevice() {
    StartWrite([this](std::span<std::uint8_t> tx) { return record_.WriteFrame(tx); });
}

void PanelEditor::SaveToFile(const QString& fileName) {
    CommitEdit();
    SaveRecordsToFile(fileName, record_.FileBlocks());
}

void PanelEditor::LoadFromFile(ConfigFile& reader) {
    if (record_.LoadFromFile(reader))
        RecordToControls();
}

void PanelEditor::RecordToControls() {
    for (int zone = 1; zone <= PanelRecord::kZoneCount; ++zone)
        ShowZone(zone, *record_.Zone(zone));

    const std::uint8_t dependency = record_.ShownBoxes().dependency;
    for (int partition = 2; partition <= PanelRecord::kPartitionCount; ++partition)
        SetCheckedSilently(dependency_[partition - 2], BitIsSet(dependency, partition - 1));
    ShowDependency(record_.RefreshPartitionDependency());

    for (QCheckBox* box : monitoring_)
        SetCheckedSilently(box, record_.MonitorBit(TagOf(box)));
    Select(bxRelayAlarm, record_.RelayModeIndex(PanelRecord::Relay::Alarm));
    Select(bxRelayFire, record_.RelayModeIndex(PanelRecord::Relay::Fire));
    Select(bxRelayControl, record_.RelayModeIndex(PanelRecord::Relay::Control));
    Select(bxInternalPartition, record_.InternalPartitionIndex());
    SetCheckedSilently(chkGuardSnd, record_.SirenSignals());

    Select(bxInterface, record_.InterfaceIndex());
    ShowInterface(record_.InterfaceVisibility());
    if (wgtGsm != nullptr)
        ShowGsmPage();

    Select(bxLampMode, record_.LampModeIndex());
    Select(bxLedMode, record_.LedModeIndex());
    if (udNetNum != nullptr)
        udNetNum->ShowValue(record_.NetworkNumber());

    using Option = PanelRecord::Option;
    SetCheckedSilently(chkAttentionPcn, record_.HasOption(Option::TwoThresholdEvents));
    SetCheckedSilently(chkAttentionSiren, record_.HasOption(Option::TwoThresholdSiren));
    SetCheckedSilently(chkFeedback, record_.HasOption(Option::ArmingFeedback));
    SetCheckedSilently(chkSmsAlarm, record_.SmsRelayOn(PanelRecord::SmsRelay::Alarm));
    SetCheckedSilently(chkSmsFire, record_.SmsRelayOn(PanelRecord::SmsRelay::Fire));
    SetCheckedSilently(chkSmsDisarm, record_.SmsDisarm());

    edtSirenTime->setText(QString::fromStdString(record_.SirenTimeText()));
    Select(bxBuzzer, record_.BuzzerIndex());
    SetCheckedSilently(chkRemoteDisarm, record_.RemoteDisarm());
    SetCheckedSilently(chkLampBlink, record_.HasOption(Option::LampBlinks));

    matrix_->LoadMatrix(record_.MatrixOutputs(), record_.ArmingCondition());
    Select(bxTouchMemory, record_.TouchMemoryModeIndex());
}

void PanelEditor::CommitEdit() {
    RunLeaveHandler(focusWidget());
    PanelRecord::CollectedBoxes boxes;
    for (std::size_t i = 0; i < zones_.size(); ++i) {
        boxes.rearm[i] = zones_[i].rearm->isChecked();
        boxes.requery[i] = zones_[i].requery->isChecked();
    }
    for (int partition = 2; partition <= PanelRecord::kPartitionCount; ++partition) {
        if (dependency_[partition - 2]->isChecked())
            SetBit(boxes.dependency, partition - 1);
    }
    boxes.matrixOutputs = matrix_->OutputBytes();
    boxes.armingCondition = matrix_->ArmingCondition();
    record_.StoreCollectedBoxes(boxes);
}

// --- showing ---

void PanelEditor::ShowZone(int zone, const PanelRecord::ZoneView& view) {
    const ZoneControls& row = zones_[static_cast<std::size_t>(zone - 1)];
    row.partition->setCurrentIndex(view.partitionIndex);
    Select(row.type, view.typeIndex);
    row.event->setEnabled(view.eventEnabled);
    row.event->ShowEvent(view.eventSelection.value_or(0));
    row.entry->setText(QString::fromStdString(view.entryDelayText));
    row.exit->setText(QString::fromStdString(view.exitDelayText));
    row.entry->setVisible(view.delaysVisible);
    row.exit->setVisible(view.delaysVisible);
    row.rearm->setEnabled(view.rearmEnabled);
    row.rearm->setVisible(view.rearmVisible);
    SetCheckedSilently(row.rearm, view.rearmChecked);
    row.requery->setVisible(view.requeryVisible);
    SetCheckedSilently(row.requery, view.requeryChecked);
}

void PanelEditor::ShowDependency(const PanelRecord::DependencyView& view) {
    for (int partition = 2; partition <= PanelRecord::kPartitionCount; ++partition) {
        QCheckBox* box = dependency_[partition - 2];
        const bool enabled = view.Enabled(partition);
        box->setEnabled(enabled);
        // Not isEnabled(): while the main window disables the editor every box reads disabled,
        // and a record shown then would lose its dependency at the next commit.
        if (!enabled)
            SetCheckedSilently(box, false);
    }
}

void PanelEditor::ShowInterface(const PanelRecord::InterfaceView& view) {
    chkRemoteDisarm->setVisible(view.remoteDisarm);
    if (wgtGsm != nullptr)
        wgtGsm->setVisible(view.gsmPage);
    if (wgtNetNum != nullptr)
        wgtNetNum->setVisible(view.networkNumber);
}

void PanelEditor::ShowGsmPage() {
    const PanelRecord::GsmPageView page = record_.GsmPage();
    medtDevNum->setText(QString::fromStdString(page.deviceNumber));
    grdDirections->ShowRows(page.directions);
    SetCheckedSilently(chkSendSms, page.sendSms);
    btnChangeSms->setVisible(page.changeButtonVisible);
    edtChannelTest->setText(QString::fromStdString(page.channelTestText));
}

// --- handlers ---

void PanelEditor::onZonePartitionChanged(int zone) {
    const QComboBox* box = zones_[static_cast<std::size_t>(zone - 1)].partition;
    if (const auto dependency = record_.SetZonePartition(zone, box->currentIndex()))
        ShowDependency(*dependency);
}

void PanelEditor::onZoneTypeChanged(int zone) {
    const QComboBox* box = zones_[static_cast<std::size_t>(zone - 1)].type;
    const auto change = record_.SetZoneType(zone, ZoneTypeByName(Utf8(box->currentText())));
    if (!change)
        return;
    ShowZone(zone, change->view);
    ShowDependency(change->dependency);
}

void PanelEditor::onZoneEventChanged(int zone) {
    const EventBox* box = zones_[static_cast<std::size_t>(zone - 1)].event;
    record_.SetZoneEvent(zone, box->EventIndexOf(box->currentText()));
}

void PanelEditor::onInterfacePicked() {
    const PanelRecord::InterfaceChange change =
        record_.SetInterfaceFromText(Utf8(bxInterface->currentText()));
    ShowInterface(change.view);
    if (change.directionsReset) {
        ShowGsmPage();
        SetCheckedSilently(chkSmsDisarm, record_.SmsDisarm());
    }
    if (change.warning)
        ShowMessage(this, *change.warning);
}

void PanelEditor::onSendSmsClicked() {
    ShowMessage(this, PanelRecord::SendSmsClicked());
    // The block keeps its flag: the box shows it again rather than a state nobody stores.
    SetCheckedSilently(chkSendSms, record_.GsmPage().sendSms);
}

void PanelEditor::onDeviceNumberLeft() {
    // Only four digits are stored; anything else shows the stored number again.
    if (!record_.SetDeviceNumberFromText(Utf8(medtDevNum->text())))
        medtDevNum->setText(QString::fromStdString(record_.GsmPage().deviceNumber));
}

bool PanelEditor::RunLeaveHandler(const QObject* edit) {
    if (edit == nullptr)
        return false;
    const auto text = [edit] {
        return Utf8(static_cast<const QLineEdit*>(edit)->text());
    };
    for (int zone = 1; zone <= PanelRecord::kZoneCount; ++zone) {
        const ZoneControls& row = zones_[static_cast<std::size_t>(zone - 1)];
        for (const auto& [field, delay] : {std::pair{row.entry, PanelRecord::Delay::Entry},
                                           std::pair{row.exit, PanelRecord::Delay::Exit}}) {
            if (edit == field) {
                ShowCorrected(field, record_.SetZoneDelayFromText(zone, delay, text()));
                return true;
            }
        }
    }
    if (edit == edtSirenTime)
        ShowCorrected(edtSirenTime, record_.SetSirenTimeFromText(text()));
    else if (edit == edtChannelTest)
        ShowCorrected(edtChannelTest, record_.SetChannelTestFromText(text()));
    else if (edit == medtDevNum)
        onDeviceNumberLeft();
    else
        return false;
    return true;
}

bool PanelEditor::eventFilter(QObject* watched, QEvent* event) {
    if (LeavesControl(*event))
        RunLeaveHandler(watched);
    return DeviceEditor::eventFilter(watched, event);
}

} // namespace tesmira::ui
