#include "editors/ui/PanelEditor.h"

#include "editors/ui/DirectionTable.h"
#include "gui/Dialogs.h"
#include "gui/EditHelpers.h"
#include "gui/FormControls.h"
#include "gui/OutputMatrix.h"
#include "gui/UpDownField.h"
#include "link/LinkModule.h"
#include "model/BitHelpers.h"
#include "model/DeviceCatalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace tesmira::ui {

namespace {

void ShowMessage(QWidget* parent, const PanelRecord::Message& message) {
    Dialogs::message(parent, FromUtf8(message.caption), FromUtf8(message.text),
                     MessageIcon::Warning);
}

} // namespace

PanelEditor::PanelEditor(LinkModule& link, std::uint8_t type, QWidget* parent)
    : DeviceEditor(link, config_, parent), config_(type) {
    DeviceType = type;
    setWindowTitle(QString::fromStdString(DeviceTypeName(type)));
    BuildControls();
    ConnectHandlers();
    RecordToControls();
}

// --- showing the record ---

void PanelEditor::RecordToControls() {
    for (int zone = 1; zone <= PanelRecord::kZoneCount; ++zone)
        ShowZone(zone, *config_.record.Zone(zone));

    const std::uint8_t dependency = config_.record.ShownBoxes().dependency;
    for (int partition = 2; partition <= PanelRecord::kPartitionCount; ++partition)
        SetCheckedSilently(dependency_[partition - 2], BitIsSet(dependency, partition - 1));
    ShowDependency(config_.record.RefreshPartitionDependency());

    for (QCheckBox* box : monitoring_)
        SetCheckedSilently(box, config_.record.MonitorBit(TagOf(box)));
    Select(alarmRelayMode_, config_.record.RelayModeIndex(PanelRecord::Relay::Alarm));
    Select(fireRelayMode_, config_.record.RelayModeIndex(PanelRecord::Relay::Fire));
    Select(controlRelayMode_, config_.record.RelayModeIndex(PanelRecord::Relay::Control));
    Select(internalPartition_, config_.record.InternalPartitionIndex());
    SetCheckedSilently(sirenSignals_, config_.record.SirenSignals());

    Select(interface_, config_.record.InterfaceIndex());
    ShowInterface(config_.record.InterfaceVisibility());
    if (gsmPage_ != nullptr)
        ShowGsmPage();

    Select(lampMode_, config_.record.LampModeIndex());
    Select(readerLedMode_, config_.record.LedModeIndex());
    if (networkNumber_ != nullptr)
        networkNumber_->ShowValue(config_.record.NetworkNumber());

    using Option = PanelRecord::Option;
    SetCheckedSilently(twoThresholdEvents_, config_.record.HasOption(Option::TwoThresholdEvents));
    SetCheckedSilently(twoThresholdSiren_, config_.record.HasOption(Option::TwoThresholdSiren));
    SetCheckedSilently(armingFeedback_, config_.record.HasOption(Option::ArmingFeedback));
    SetCheckedSilently(alarmRelayBySms_, config_.record.SmsRelayOn(PanelRecord::SmsRelay::Alarm));
    SetCheckedSilently(fireRelayBySms_, config_.record.SmsRelayOn(PanelRecord::SmsRelay::Fire));
    SetCheckedSilently(smsDisarm_, config_.record.SmsDisarm());

    sirenTime_->setText(QString::fromStdString(config_.record.SirenTimeText()));
    Select(buzzer_, config_.record.BuzzerIndex());
    SetCheckedSilently(remoteDisarm_, config_.record.RemoteDisarm());
    SetCheckedSilently(lampBlinks_, config_.record.HasOption(Option::LampBlinks));

    matrix_->LoadMatrix(config_.record.MatrixOutputs(), config_.record.ArmingCondition());
    Select(touchMemoryMode_, config_.record.TouchMemoryModeIndex());
}

void PanelEditor::CollectControls() {
    config_.record.StoreCollectedBoxes(ShownBoxes());
}

FieldTable PanelEditor::ShownFields() const {
    PanelConfig shown = config_;
    shown.record.StoreCollectedBoxes(ShownBoxes());
    return shown.Fields();
}

PanelRecord::CollectedBoxes PanelEditor::ShownBoxes() const {
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
    return boxes;
}

// --- showing ---

void PanelEditor::ShowZone(int zone, const PanelRecord::ZoneView& view) {
    const ZoneControls& row = zones_[static_cast<std::size_t>(zone - 1)];
    row.partition->setCurrentIndex(view.partitionIndex);
    row.zone.Show(view.typeIndex, view.eventEnabled, view.eventSelection.value_or(0));
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
    remoteDisarm_->setVisible(view.remoteDisarm);
    if (gsmPage_ != nullptr)
        gsmPage_->setVisible(view.gsmPage);
    if (networkNumberRow_ != nullptr)
        networkNumberRow_->setVisible(view.networkNumber);
}

void PanelEditor::ShowGsmPage() {
    const PanelRecord::GsmPageView page = config_.record.GsmPage();
    deviceNumber_->setText(QString::fromStdString(page.deviceNumber));
    directions_->ShowRows(page.directions);
    SetCheckedSilently(sendSms_, page.sendSms);
    changeSms_->setVisible(page.changeButtonVisible);
    channelTest_->setText(QString::fromStdString(page.channelTestText));
}

// --- handlers ---

void PanelEditor::onZonePartitionChanged(int zone) {
    const QComboBox* box = zones_[static_cast<std::size_t>(zone - 1)].partition;
    if (const auto dependency = config_.record.SetZonePartition(zone, box->currentIndex()))
        ShowDependency(*dependency);
}

void PanelEditor::onZoneTypeChanged(int zone) {
    const ZoneRow& row = zones_[static_cast<std::size_t>(zone - 1)].zone;
    const auto change = config_.record.SetZoneType(zone, row.TypeCode());
    if (!change)
        return;
    ShowZone(zone, change->view);
    ShowDependency(change->dependency);
}

void PanelEditor::onZoneEventChanged(int zone) {
    config_.record.SetZoneEvent(zone, zones_[static_cast<std::size_t>(zone - 1)].zone.EventIndex());
}

void PanelEditor::onInterfacePicked() {
    const PanelRecord::InterfaceChange change = config_.record.SetInterface(ItemCodeOf(interface_));
    ShowInterface(change.view);
    if (change.directionsReset) {
        ShowGsmPage();
        SetCheckedSilently(smsDisarm_, config_.record.SmsDisarm());
    }
    if (change.warning)
        ShowMessage(this, *change.warning);
}

void PanelEditor::onSendSmsClicked() {
    ShowMessage(this, PanelRecord::SendSmsClicked());
    // The block keeps its flag: the box shows it again rather than a state nobody stores.
    SetCheckedSilently(sendSms_, config_.record.GsmPage().sendSms);
}

} // namespace tesmira::ui
