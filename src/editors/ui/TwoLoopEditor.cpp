#include "editors/ui/TwoLoopEditor.h"

#include "gui/EditHelpers.h"
#include "gui/EventBox.h"
#include "gui/FormControls.h"
#include "gui/ZoneTypeBox.h"
#include "link/LinkModule.h"
#include "model/DeviceCatalogue.h"
#include "model/ZoneTypes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tesmira::ui {

namespace {

constexpr int kAllEvents = 1;

} // namespace

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
    QComboBox* types = cbbLoopType[loop - 1];
    EventBox* events = bxLoopEvent[loop - 1];
    Select(types, config_.record.LoopTypeIndex(loop));
    events->setEnabled(config_.record.LoopEventEnabled(loop));
    events->ShowEvent(config_.record.LoopEvent(loop));
}

// --- handlers ---

void TwoLoopEditor::onTxLetterChanged(int index) {
    config_.record.SetLetterFromIndex(index);
}

void TwoLoopEditor::onAlarmCountChanged() {
    config_.record.SetAlarmCountFromText(bxTxAlarmCnt->currentText().toStdString());
}

void TwoLoopEditor::onRestoreCountChanged() {
    config_.record.SetNormCountFromText(bxTxNormCnt->currentText().toStdString());
}

void TwoLoopEditor::onChannelCheckChanged(int index) {
    config_.record.SetChannelCheckFromIndex(index);
}

void TwoLoopEditor::onLoopTypeChanged(QComboBox* box) {
    const int loop = TagOf(box);
    const auto change = config_.record.SetLoopType(loop, ZoneTypeCodeOf(box));
    if (!change)
        return;
    EventBox* events = bxLoopEvent[loop - 1];
    events->setEnabled(change->eventEnabled);
    if (change->eventToShow) {
        events->SelectEvent(*change->eventToShow);
        onLoopEventChanged(events);
    }
}

void TwoLoopEditor::onLoopEventChanged(EventBox* box) {
    config_.record.SetLoopEvent(TagOf(box), box->EventIndexOf(box->currentText()));
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
    left->addWidget(BuildDelays());
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

QWidget* TwoLoopEditor::BuildLoops() {
    auto* loops = new QWidget;
    auto* grid = new QGridLayout(loops);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Label("lblLoopTypeHead", QStringLiteral("Тип шлейфа")), 0, 1);
    grid->addWidget(Label("lblLoopEventHead", QStringLiteral("Код события")), 0, 2);
    grid->addWidget(Label("lblLoop1", QStringLiteral("ШС1:")), 1, 0);
    static constexpr const char* kTypeNames[] = {"cbbLoopType1", "cbbLoopType2"};
    static constexpr const char* kEventNames[] = {"bxLoopEvent1", "bxLoopEvent2"};
    for (int i = 0; i < TwoLoopRecord::kLoopCount; ++i) {
        cbbLoopType[i] = Named(new QComboBox, kTypeNames[i], i + 1);
        FillZoneTypeBox(cbbLoopType[i], TwoLoopRecord::kZoneTypeSelector);
        bxLoopEvent[i] = Named(new EventBox, kEventNames[i], i + 1);
        bxLoopEvent[i]->FillItems(kAllEvents);
        grid->addWidget(cbbLoopType[i], i + 1, 1);
        grid->addWidget(bxLoopEvent[i], i + 1, 2);
    }
    grid->setColumnStretch(3, 1);
    return loops;
}

QGroupBox* TwoLoopEditor::BuildDelays() {
    auto* group = Named(new QGroupBox(QStringLiteral("Задержка, сек")), "grpDelayTime");
    edtRetDelIn = Named(new QLineEdit, "edtRetDelIn");
    edtRetDelOut = Named(new QLineEdit, "edtRetDelOut");
    auto* form = new QFormLayout(group);
    for (QLineEdit* edit : {edtRetDelIn, edtRetDelOut}) {
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    }
    form->addRow(Label("lblRetDelIn", QStringLiteral("вход:")), edtRetDelIn);
    form->addRow(Label("lblRetDelOut", QStringLiteral("выход:")), edtRetDelOut);
    return group;
}

QGroupBox* TwoLoopEditor::BuildTransmitter() {
    auto* group = Named(new QGroupBox(QStringLiteral("Передатчик")), "grpTransmitter");
    bxTxLetter = List("bxTxLetter", TwoLoopRecord::LetterTexts());
    bxTxAlarmCnt = List("bxTxAlarmCnt", TwoLoopRecord::AlarmCountTexts());
    bxTxNormCnt = List("bxTxNormCnt", TwoLoopRecord::NormCountTexts());
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
    connect(bxTxAlarmCnt, &QComboBox::activated, this, [this] { onAlarmCountChanged(); });
    connect(bxTxNormCnt, &QComboBox::activated, this, [this] { onRestoreCountChanged(); });
    connect(bxTxTO, &QComboBox::activated, this, &TwoLoopEditor::onChannelCheckChanged);
    for (int i = 0; i < TwoLoopRecord::kLoopCount; ++i) {
        QComboBox* types = cbbLoopType[i];
        EventBox* events = bxLoopEvent[i];
        connect(types, &QComboBox::activated, this, [this, types] { onLoopTypeChanged(types); });
        connect(events, &QComboBox::activated, this,
                [this, events] { onLoopEventChanged(events); });
    }
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
