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
    Select(bxTxLetter, config_.record.LetterIndex());
    for (int loop = 1; loop <= TwoLoopRecord::kLoopCount; ++loop)
        ShowLoop(loop);
    edtRetDelIn->setText(
        QString::fromStdString(config_.record.DelayText(TwoLoopRecord::Delay::Entry)));
    edtRetDelOut->setText(
        QString::fromStdString(config_.record.DelayText(TwoLoopRecord::Delay::Exit)));
    Select(bxTxAlarmCnt, config_.record.AlarmCountIndex());
    Select(bxTxNormCnt, config_.record.NormCountIndex());
    Select(bxTxTO, config_.record.ChannelCheckIndex());
    for (QCheckBox* box : {chkExpBox6, chkExpBox7, chkU2})
        SetCheckedSilently(box, config_.record.MonitorBit(TagOf(box)));
    SetCheckedSilently(chkGuardSnd, config_.record.GuardSound());
    SetCheckedSilently(chkUseBuzzer, config_.record.UseBuzzer());
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
    config_.record.SetGuardSound(chkGuardSnd->isChecked());
}

void TwoLoopEditor::onUseBuzzerClicked() {
    config_.record.SetUseBuzzer(chkUseBuzzer->isChecked());
}

// --- building ---

void TwoLoopEditor::BuildControls() {
    pgcConfig = EditorPages(this);
    tsMain = Named(new QWidget, "tsMain");
    pgcConfig->addTab(tsMain, QStringLiteral("Основное"));
    pgcConfig->setCurrentWidget(tsMain);

    chkU2 = Named(new QCheckBox(QStringLiteral("Контроль входа U2")), "chkU2",
                  TwoLoopRecord::kMonitorU2);
    chkGuardSnd =
        Named(new QCheckBox(QStringLiteral("Сигналы взятия\\снятия сиреной")), "chkGuardSnd");
    chkUseBuzzer =
        Named(new QCheckBox(QStringLiteral("Использовать внутренний зуммер")), "chkUseBuzzer");

    auto* left = new QVBoxLayout;
    left->addWidget(DelayGroup(4, edtRetDelIn, edtRetDelOut));
    left->addWidget(BuildOutputs());
    left->addWidget(chkU2);
    left->addWidget(chkGuardSnd);
    left->addWidget(chkUseBuzzer);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(BuildTransmitter());
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    columns->addStretch();

    auto* page = new QVBoxLayout(tsMain);
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
    bxTxLetter = List("bxTxLetter", TwoLoopRecord::LetterTexts());
    bxTxAlarmCnt = List("bxTxAlarmCnt", TwoLoopRecord::AlarmCountItems());
    bxTxNormCnt = List("bxTxNormCnt", TwoLoopRecord::NormCountItems());
    bxTxTO = List("bxTxTO", TwoLoopRecord::ChannelCheckTexts());
    auto* form = new QFormLayout(group);
    form->addRow(Label("lblTxLetter", QStringLiteral("Литера:")), bxTxLetter);
    form->addRow(Label("lblTxAlarmCnt", QStringLiteral("Кол-во перед тревог:")), bxTxAlarmCnt);
    form->addRow(Label("lblTxNormCnt", QStringLiteral("Кол-во перед восст:")), bxTxNormCnt);
    form->addRow(Label("lblTxTO", QStringLiteral("Контроль канала:")), bxTxTO);
    return group;
}

QWidget* TwoLoopEditor::BuildOutputs() {
    auto* group =
        Named(new QGroupBox(QStringLiteral("Контроль цепей оповещения:")), "grpOpControl");
    chkExpBox6 =
        Named(new QCheckBox(QStringLiteral("Сирена")), "chkExpBox6", TwoLoopRecord::kMonitorSiren);
    chkExpBox7 =
        Named(new QCheckBox(QStringLiteral("Лампа")), "chkExpBox7", TwoLoopRecord::kMonitorLamp);
    auto* row = new QHBoxLayout(group);
    row->addWidget(chkExpBox6);
    row->addWidget(chkExpBox7);
    row->addStretch();
    return group;
}

// Only the user's own actions reach the handlers: `activated` and `clicked` are not emitted when
// RecordToControls sets a selection or a check, and the delay edits are watched for leaving.
void TwoLoopEditor::ConnectHandlers() {
    connect(bxTxLetter, &QComboBox::activated, this, &TwoLoopEditor::onTxLetterChanged);
    connect(bxTxAlarmCnt, &QComboBox::activated, this,
            [this] { config_.record.SetAlarmCount(ItemCodeOf(bxTxAlarmCnt)); });
    connect(bxTxNormCnt, &QComboBox::activated, this,
            [this] { config_.record.SetNormCount(ItemCodeOf(bxTxNormCnt)); });
    connect(bxTxTO, &QComboBox::activated, this, &TwoLoopEditor::onChannelCheckChanged);
    for (int loop = 1; loop <= TwoLoopRecord::kLoopCount; ++loop)
        Loop(loop).Connect(
            this, [this, loop] { onLoopTypeChanged(loop); },
            [this, loop] { onLoopEventChanged(loop); });
    for (QCheckBox* box : {chkExpBox6, chkExpBox7, chkU2})
        connect(box, &QCheckBox::clicked, this, [this, box] { onMonitorToggled(box); });
    connect(chkGuardSnd, &QCheckBox::clicked, this, [this] { onGuardSoundClicked(); });
    connect(chkUseBuzzer, &QCheckBox::clicked, this, [this] { onUseBuzzerClicked(); });
    using Delay = TwoLoopRecord::Delay;
    for (const auto& [edit, delay] :
         {std::pair{edtRetDelIn, Delay::Entry}, std::pair{edtRetDelOut, Delay::Exit}})
        AddCorrectedField(edit, [this, delay](const std::string& text) {
            return config_.record.SetDelayFromText(delay, text);
        });
}

} // namespace tesmira::ui
