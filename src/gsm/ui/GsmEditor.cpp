#include "gsm/ui/GsmEditor.h"

#include "gsm/ui/CaptionGrid.h"
#include "gsm/ui/EventGrid.h"
#include "gsm/ui/PhoneGrid.h"
#include "gsm/ui/SoundFilesPage.h"
#include "gui/Dialogs.h"
#include "gui/EditHelpers.h"
#include "gui/EditorExchange.h"
#include "gui/FormControls.h"
#include "link/LinkModule.h"
#include "model/ConfigFile.h"
#include "model/DeviceCatalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QTabWidget>

#include <stdexcept>

namespace tesmira::ui {

namespace {

using Sim = GsmRecord::Sim;

void ShowText(QLineEdit* edit, const std::string& text) {
    edit->setText(QString::fromStdString(text));
}

// What the user sees typed. A masked edit's text() drops its unfilled positions, so "12_4" would
// read as 124; inside the text they are blanks, which no number holds. Blanks around it are not
// part of the number.
std::string TypedText(const QLineEdit* edit) {
    const QString mask = edit->inputMask();
    if (mask.isEmpty())
        return edit->text().toStdString();
    const qsizetype separator = mask.lastIndexOf(QLatin1Char(';'));
    const QChar blank =
        separator >= 0 && separator + 1 < mask.size() ? mask.at(separator + 1) : QLatin1Char(' ');
    QString shown = edit->displayText();
    shown.replace(blank, QLatin1Char(' '));
    return shown.trimmed().toStdString();
}

} // namespace

GsmEditor::GsmEditor(LinkModule& link, QWidget* parent) : DeviceEditor(link, parent) {
    DeviceType = GsmRecord::kType;
    setWindowTitle(QString::fromStdString(DeviceTypeName(GsmRecord::kType)));
    BuildControls();
    ConnectHandlers();
    ShowTables();
    RecordToControls();
}

// --- the seven operations ---

void GsmEditor::SetDefaults() {
    config_.SetDefaults(); // the phone rows stay; the next commit writes them back
    captionGrid_->ShowRows();
    RecordToControls();
}

bool GsmEditor::LoadFromReply() {
    const std::span<const std::uint8_t> reply = Link().Reply();
    if (config_.LoadFromReply(reply) != GsmReplyOutcome::Loaded)
        return false; // the main window says the reply was refused
    ShowTables();
    RecordToControls();
    setWindowTitle(ReplyCaption(reply));
    SendEditorReport(EditorReport::Loaded);
    return true;
}

void GsmEditor::WriteToDevice() {
    CommitEdit();
    GsmWriteFrame frame;
    const bool started =
        StartEditorExchange(*this, Link(), ExchangeMode::Write, [&](std::span<std::uint8_t> tx) {
            frame = config_.WriteFrame(tx);
            return frame.length;
        });
    if (started)
        return;
    if (!frame.tooLarge) {
        SendEditorReport(EditorReport::NoLink); // the main window waits for a report
        return;
    }
    Dialogs::message(this, FromUtf8(kGsmTooLargeTitle), FromUtf8(kGsmTooLargeText),
                     MessageIcon::Error);
    pgcConfig->setCurrentIndex(kGsmCaptionPage);
    SendEditorReport(EditorReport::ConfigError);
}

void GsmEditor::SaveToFile(const QString& fileName) {
    CommitEdit();
    ConfigFile file(DeviceType);
    config_.SaveTo(file);
    file.SaveTo(FilePath(fileName));
}

void GsmEditor::LoadFromFile(ConfigFile& reader) {
    // A caption section that does not fit throws, with nothing changed.
    if (!config_.LoadFromFile(reader))
        return;
    ShowTables();
    RecordToControls();
}

void GsmEditor::RecordToControls() {
    // A typed field that hides here (a threshold turned off) loses the caret, and what it held
    // is no longer the user's: the record shown replaces it.
    const QScopedValueRollback showing(showingRecord_, true);
    const GsmRecord& record = config_.record;
    Select(cbbInputType, record.InputFormatIndex());
    ShowText(medtDevNum, record.DeviceNumberText());
    Select(bxGPRSProtocol, record.ProtocolIndex());
    for (int bit = 0; bit < GsmRecord::kOptionBitCount; ++bit)
        SetCheckedSilently(optionBoxes_[bit], record.OptionBit(bit));
    eventGrid_->Refresh();
    ShowText(medtPortNum, record.PortText());
    ShowText(edtGSM_ChTestTime, record.TestIntervalText());
    ShowText(edtGPRS_Addr, record.AddressText());
    for (const Sim sim : {Sim::Sim1, Sim::Sim2}) {
        const SimControls& controls = sims_[static_cast<int>(sim)];
        ShowText(controls.code, record.BalanceCodeText(sim));
        SetCheckedSilently(controls.monthly, record.MonthlyReport(sim));
        ShowBalance(sim);
    }
    files_->EnableButtons();
    if (typing_ != nullptr && !typing_->edit->hasFocus())
        typing_ = nullptr;
}

void GsmEditor::CommitEdit() {
    // The edit typed in last, even when the main window's disabling has taken its focus away;
    // one that keeps the caret stays the one typed in.
    if (const TypedField* field = typing_) {
        if (!field->edit->hasFocus())
            typing_ = nullptr;
        if (const std::optional<std::string> error = StoreTyped(*field))
            throw std::runtime_error(*error);
    }
    phoneGrid_->CommitTyping();
    captionGrid_->CommitTyping();
    config_.Commit();
    captionGrid_->ShowRows(); // sorted, without the incomplete rows
}

void GsmEditor::ShowTables() {
    phoneGrid_->ShowRows();
    captionGrid_->ShowRows();
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

std::optional<std::string> GsmEditor::StoreTyped(const TypedField& field) {
    const TypedInput input = field.store(TypedText(field.edit));
    if (input.error) {
        ShowText(field.edit, field.shown()); // the record kept its value
        return input.error;
    }
    if (input.shownText)
        ShowText(field.edit, *input.shownText);
    return std::nullopt;
}

const GsmEditor::TypedField* GsmEditor::FieldOf(const QObject* edit) const {
    for (const TypedField& field : typedFields_) {
        if (field.edit == edit)
            return &field;
    }
    return nullptr;
}

bool GsmEditor::eventFilter(QObject* watched, QEvent* event) {
    const TypedField* field = FieldOf(watched);
    if (field != nullptr && event->type() == QEvent::FocusIn)
        typing_ = field;
    // Focus taken by disabling is no leaving: the commit of the write that disabled it decides.
    if (field != nullptr && !showingRecord_ && field->edit->isEnabled() && LeavesControl(*event)) {
        typing_ = nullptr;
        if (const std::optional<std::string> error = StoreTyped(*field))
            Dialogs::showError(this, QString::fromStdString(*error));
    }
    return DeviceEditor::eventFilter(watched, event);
}

void GsmEditor::onThresholdClicked(Sim sim) {
    config_.record.SetThresholdOn(sim, sims_[static_cast<int>(sim)].threshold->isChecked());
    ShowBalance(sim);
}

void GsmEditor::ShowBalance(Sim sim) {
    const SimControls& controls = sims_[static_cast<int>(sim)];
    const bool on = config_.record.ThresholdOn(sim);
    SetCheckedSilently(controls.threshold, on);
    controls.limitLabel->setVisible(on);
    controls.limit->setVisible(on);
    ShowText(controls.limit, config_.record.ThresholdText(sim));
}

void GsmEditor::onEventFillChosen(int tag) {
    config_.events.Fill(tag);
    eventGrid_->Refresh();
}

} // namespace tesmira::ui
