#include "gsm/ui/GsmEditor.h"

#include "gsm/ui/CaptionGrid.h"
#include "gsm/ui/EventGrid.h"
#include "gsm/ui/PhoneGrid.h"
#include "gsm/ui/SoundFilesPage.h"
#include "gui/EditHelpers.h"
#include "gui/FormControls.h"
#include "link/LinkModule.h"
#include "model/DeviceCatalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

namespace tesmira::ui {

namespace {

using Sim = GsmRecord::Sim;

void ShowText(QLineEdit* edit, const std::string& text) {
    edit->setText(QString::fromStdString(text));
}

} // namespace

GsmEditor::GsmEditor(LinkModule& link, QWidget* parent) : DeviceEditor(link, config_, parent) {
    DeviceType = GsmRecord::kType;
    setWindowTitle(QString::fromStdString(DeviceTypeName(GsmRecord::kType)));
    BuildControls();
    ConnectHandlers();
    OnConfigReplaced();
    RecordToControls();
}

// --- showing the record ---

void GsmEditor::RecordToControls() {
    captionGrid_->ShowRows();
    const GsmRecord& record = config_.gsm.record;
    Select(inputFormat_, record.InputFormatIndex());
    ShowText(deviceNumber_, record.DeviceNumberText());
    Select(protocol_, record.ProtocolIndex());
    for (int bit = 0; bit < GsmRecord::kOptionBitCount; ++bit)
        SetCheckedSilently(optionBoxes_[bit], record.OptionBit(bit));
    eventGrid_->Refresh();
    ShowText(port_, record.PortText());
    ShowText(channelTest_, record.TestIntervalText());
    ShowText(address_, record.AddressText());
    for (const Sim sim : {Sim::Sim1, Sim::Sim2}) {
        const SimControls& controls = sims_[static_cast<int>(sim)];
        ShowText(controls.code, record.BalanceCodeText(sim));
        SetCheckedSilently(controls.monthly, record.MonthlyReport(sim));
        ShowBalance(sim);
    }
    files_->EnableButtons();
}

void GsmEditor::CollectControls() {
    phoneGrid_->CommitTyping();
    captionGrid_->CommitTyping();
    config_.gsm.Commit();
    captionGrid_->ShowRows(); // sorted, without the incomplete rows
}

// The phone rows change only with a reply or a file; the defaults keep them.
void GsmEditor::OnConfigReplaced() {
    phoneGrid_->ShowRows();
}

void GsmEditor::ShowingField(const std::string& id) {
    // "event.<group>.<event>.<kind>"
    if (!id.starts_with("event.") || id.size() < 7)
        return;
    config_.gsm.events.SelectGroup(id[6] - '1');
    eventGrid_->Refresh();
}

void GsmEditor::OnWriteRefused() {
    pages_->setCurrentIndex(kGsmCaptionPage);
}

// --- reports of the editor's exchanges ---

void GsmEditor::OnExchangeReport(int code, int arg) {
    const auto report = static_cast<ExchangeReport>(code);
    if (files_->CommandRunning() &&
        (report == ExchangeReport::PortFailed || report == ExchangeReport::NoValidReply))
        files_->CommandFailed();
    DeviceEditor::OnExchangeReport(code, arg);
}

void GsmEditor::FileCommandDone() {
    files_->CommandDone();
}

// --- handlers ---

void GsmEditor::onThresholdClicked(Sim sim) {
    config_.gsm.record.SetThresholdOn(sim, sims_[static_cast<int>(sim)].threshold->isChecked());
    ShowBalance(sim);
}

void GsmEditor::ShowBalance(Sim sim) {
    const SimControls& controls = sims_[static_cast<int>(sim)];
    const bool on = config_.gsm.record.ThresholdOn(sim);
    SetCheckedSilently(controls.threshold, on);
    controls.limitLabel->setVisible(on);
    controls.limit->setVisible(on);
    ShowText(controls.limit, config_.gsm.record.ThresholdText(sim));
}

void GsmEditor::onEventFillChosen(int tag) {
    config_.gsm.events.Fill(tag);
    eventGrid_->Refresh();
}

} // namespace tesmira::ui
