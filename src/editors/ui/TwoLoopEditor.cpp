#include "editors/ui/TwoLoopEditor.h"

#include "gui/EditHelpers.h"
#include "gui/FormControls.h"
#include "link/LinkModule.h"
#include "model/DeviceCatalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tesmira::ui {

TwoLoopEditor::TwoLoopEditor(LinkModule& link, std::uint8_t type, QWidget* parent)
    : DeviceEditor(link, config_, parent), config_(type) {
    DeviceType = type;
    setWindowTitle(QString::fromStdString(DeviceTypeName(type)));
    BuildControls();
    ConnectHandlers();
    RecordToControls();
}

// --- showing the record ---

void TwoLoopEditor::RecordToControls() {
    Select(letter_, config_.record.LetterIndex());
    for (int loop = 1; loop <= TwoLoopRecord::kLoopCount; ++loop)
        ShowLoop(loop);
    entryDelay_->setText(
        QString::fromStdString(config_.record.DelayText(TwoLoopRecord::Delay::Entry)));
    exitDelay_->setText(
        QString::fromStdString(config_.record.DelayText(TwoLoopRecord::Delay::Exit)));
    Select(alarmCount_, config_.record.AlarmCountIndex());
    Select(restoreCount_, config_.record.NormCountIndex());
    Select(channelCheck_, config_.record.ChannelCheckIndex());
    for (QCheckBox* box : {sirenMonitor_, lampMonitor_, u2Monitor_})
        SetCheckedSilently(box, config_.record.MonitorBit(TagOf(box)));
    SetCheckedSilently(guardSound_, config_.record.GuardSound());
    SetCheckedSilently(useBuzzer_, config_.record.UseBuzzer());
}

void TwoLoopEditor::ShowLoop(int loop) {
    Loop(loop).Show(config_.record.LoopTypeIndex(loop), config_.record.LoopEventEnabled(loop),
                    config_.record.LoopEvent(loop));
}

// --- handlers ---

void TwoLoopEditor::onTxLetterChanged(int index) {
    config_.record.SetLetterFromIndex(index);
}

void TwoLoopEditor::onChannelCheckChanged(int index) {
    config_.record.SetChannelCheckFromIndex(index);
}

void TwoLoopEditor::onLoopTypeChanged(int loop) {
    const auto change = config_.record.SetLoopType(loop, Loop(loop).TypeCode());
    if (change && Loop(loop).ShowTypeChange(*change))
        onLoopEventChanged(loop);
}

void TwoLoopEditor::onLoopEventChanged(int loop) {
    config_.record.SetLoopEvent(loop, Loop(loop).EventIndex());
}

void TwoLoopEditor::onMonitorToggled(QCheckBox* box) {
    config_.record.SetMonitorBit(TagOf(box), box->isChecked());
}

void TwoLoopEditor::onGuardSoundClicked() {
    config_.record.SetGuardSound(guardSound_->isChecked());
}

void TwoLoopEditor::onUseBuzzerClicked() {
    config_.record.SetUseBuzzer(useBuzzer_->isChecked());
}

// --- building ---

void TwoLoopEditor::BuildControls() {
    pages_ = EditorPages(this);
    mainPage_ = Named(new QWidget, "tsMain");
    pages_->addTab(mainPage_, QStringLiteral("Основное"));
    pages_->setCurrentWidget(mainPage_);

    u2Monitor_ = Named(new QCheckBox(QStringLiteral("Контроль входа U2")), "chkU2",
                       TwoLoopRecord::kMonitorU2);
    guardSound_ =
        Named(new QCheckBox(QStringLiteral("Сигналы взятия\\снятия сиреной")), "chkGuardSnd");
    useBuzzer_ =
        Named(new QCheckBox(QStringLiteral("Использовать внутренний зуммер")), "chkUseBuzzer");

    auto* left = new QVBoxLayout;
    left->addWidget(DelayGroup(4, entryDelay_, exitDelay_));
    left->addWidget(BuildOutputs());
    left->addWidget(u2Monitor_);
    left->addWidget(guardSound_);
    left->addWidget(useBuzzer_);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(BuildTransmitter());
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    columns->addStretch();

    auto* page = new QVBoxLayout(mainPage_);
    page->addWidget(BuildLoops());
    page->addLayout(columns);
    page->addStretch();
}

// Only the first loop is labelled: the second row stands under it.
QWidget* TwoLoopEditor::BuildLoops() {
    for (int loop = 1; loop <= TwoLoopRecord::kLoopCount; ++loop)
        loops_[static_cast<std::size_t>(loop - 1)] =
            BuildZoneRow(loop, loop == 1 ? "lblLoop" : nullptr, "cbbLoopType", "bxLoopEvent",
                         TwoLoopRecord::kZoneTypeSelector, true);
    return ZoneGrid(loops_, "lblLoopTypeHead", "lblLoopEventHead");
}

QGroupBox* TwoLoopEditor::BuildTransmitter() {
    auto* group = Named(new QGroupBox(QStringLiteral("Передатчик")), "grpTransmitter");
    letter_ = List("bxTxLetter", TwoLoopRecord::LetterTexts());
    alarmCount_ = List("bxTxAlarmCnt", TwoLoopRecord::AlarmCountItems());
    restoreCount_ = List("bxTxNormCnt", TwoLoopRecord::NormCountItems());
    channelCheck_ = List("bxTxTO", TwoLoopRecord::ChannelCheckTexts());
    auto* form = new QFormLayout(group);
    form->addRow(Label("lblTxLetter", QStringLiteral("Литера:")), letter_);
    form->addRow(Label("lblTxAlarmCnt", QStringLiteral("Кол-во перед тревог:")), alarmCount_);
    form->addRow(Label("lblTxNormCnt", QStringLiteral("Кол-во перед восст:")), restoreCount_);
    form->addRow(Label("lblTxTO", QStringLiteral("Контроль канала:")), channelCheck_);
    return group;
}

QWidget* TwoLoopEditor::BuildOutputs() {
    auto* group =
        Named(new QGroupBox(QStringLiteral("Контроль цепей оповещения:")), "grpOpControl");
    sirenMonitor_ =
        Named(new QCheckBox(QStringLiteral("Сирена")), "chkExpBox6", TwoLoopRecord::kMonitorSiren);
    lampMonitor_ =
        Named(new QCheckBox(QStringLiteral("Лампа")), "chkExpBox7", TwoLoopRecord::kMonitorLamp);
    auto* row = new QHBoxLayout(group);
    row->addWidget(sirenMonitor_);
    row->addWidget(lampMonitor_);
    row->addStretch();
    return group;
}

// Only the user's own actions reach the handlers: `activated` and `clicked` are not emitted when
// RecordToControls sets a selection or a check, and the delay edits are watched for leaving.
void TwoLoopEditor::ConnectHandlers() {
    connect(letter_, &QComboBox::activated, this, &TwoLoopEditor::onTxLetterChanged);
    connect(alarmCount_, &QComboBox::activated, this,
            [this] { config_.record.SetAlarmCount(ItemCodeOf(alarmCount_)); });
    connect(restoreCount_, &QComboBox::activated, this,
            [this] { config_.record.SetNormCount(ItemCodeOf(restoreCount_)); });
    connect(channelCheck_, &QComboBox::activated, this, &TwoLoopEditor::onChannelCheckChanged);
    for (int loop = 1; loop <= TwoLoopRecord::kLoopCount; ++loop)
        Loop(loop).Connect(
            this, [this, loop] { onLoopTypeChanged(loop); },
            [this, loop] { onLoopEventChanged(loop); });
    for (QCheckBox* box : {sirenMonitor_, lampMonitor_, u2Monitor_})
        connect(box, &QCheckBox::clicked, this, [this, box] { onMonitorToggled(box); });
    connect(guardSound_, &QCheckBox::clicked, this, [this] { onGuardSoundClicked(); });
    connect(useBuzzer_, &QCheckBox::clicked, this, [this] { onUseBuzzerClicked(); });
    using Delay = TwoLoopRecord::Delay;
    for (const auto& [edit, delay] :
         {std::pair{entryDelay_, Delay::Entry}, std::pair{exitDelay_, Delay::Exit}})
        AddCorrectedField(edit, [this, delay](const std::string& text) {
            return config_.record.SetDelayFromText(delay, text);
        });
}

} // namespace tesmira::ui
