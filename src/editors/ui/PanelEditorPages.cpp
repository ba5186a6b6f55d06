// The pages of the eight-zone panel editor and the wiring of their controls to the record.
#include "editors/ui/DirectionTable.h"
#include "editors/ui/PanelControls.h"
#include "editors/ui/PanelEditor.h"
#include "gui/EditHelpers.h"
#include "gui/EventBox.h"
#include "gui/FormControls.h"
#include "gui/OutputMatrix.h"
#include "gui/UpDownField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

#include <functional>

namespace tesmira::ui {

namespace {

// Zone rows: the zone's label, then its controls, under two rows of column heads.
enum ZoneColumn {
    LabelColumn,
    PartitionColumn,
    TypeColumn,
    EventColumn,
    RequeryColumn,
    RearmColumn,
    EntryColumn,
    ExitColumn
};
constexpr int kFirstZoneRow = 2;

const QString kRequeryHint = QStringLiteral("Перезапрос пожарного шлейфа");
const QString kRearmHint = QStringLiteral("Автоматическое восстановление шлейфа");

QLabel* Head(const char* name, const QString& caption) {
    QLabel* label = Label(name, caption);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

void PanelEditor::BuildControls() {
    pgcConfig = EditorPages(this);
    pgcConfig->addTab(BuildMainPage(), QStringLiteral("Основное"));
    pgcConfig->addTab(BuildTransmissionPage(), QStringLiteral("Передача"));
    pgcConfig->addTab(BuildPeripheryPage(), QStringLiteral("Периферия"));
    pgcConfig->addTab(BuildOutputsPage(), QStringLiteral("Выходы"));
    pgcConfig->setCurrentIndex(0);
}

QWidget* PanelEditor::BuildMainPage() {
    auto* page = Named(new QWidget, "tsMain");
    bxTouchMemory = List("bxTouchMemory", TouchMemoryModeTexts());
    bxInternalPartition = List("bxInternalPartition", PanelRecord::PartitionTexts());
    SetHint(bxInternalPartition,
            QStringLiteral("Номер раздела для передачи системных событий (тампера, БП)"));
    auto* internal = new QHBoxLayout;
    internal->addWidget(
        Label("lblInternalPartition", QStringLiteral("Раздел для внутренних событий")));
    internal->addWidget(bxInternalPartition);
    internal->addStretch();
    auto* settings = new QVBoxLayout;
    settings->addWidget(bxTouchMemory);
    settings->addLayout(internal);
    settings->addStretch();
    auto* below = new QHBoxLayout;
    below->addWidget(BuildDependency());
    below->addLayout(settings);
    below->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(BuildZones());
    layout->addLayout(below);
    layout->addStretch();
    return page;
}

QWidget* PanelEditor::BuildZones() {
    auto* zones = new QWidget;
    auto* grid = new QGridLayout(zones);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    const std::tuple<const char*, QString, int> heads[] = {
        {"lblPartitionHead", QStringLiteral("Раздел"), PartitionColumn},
        {"lblZoneTypeHead", QStringLiteral("Тип шлейфа"), TypeColumn},
        {"lblZoneEventHead", QStringLiteral("Код события"), EventColumn},
        {"lblRequeryHead", QStringLiteral("Пере-\nзапрос"), RequeryColumn},
        {"lblRearmHead", QStringLiteral("Авто\nвосст."), RearmColumn},
    };
    for (const auto& [name, caption, column] : heads)
        grid->addWidget(Head(name, caption), 0, column, 2, 1, Qt::AlignBottom | Qt::AlignHCenter);
    SetHint(grid->itemAtPosition(0, RequeryColumn)->widget(), kRequeryHint);
    SetHint(grid->itemAtPosition(0, RearmColumn)->widget(), kRearmHint);
    grid->addWidget(Head("lblDelayHead", QStringLiteral("Задержка, сек")), 0, EntryColumn, 1, 2);
    grid->addWidget(Head("lblDelayIn", QStringLiteral("Вход")), 1, EntryColumn);
    grid->addWidget(Head("lblDelayOut", QStringLiteral("Выход")), 1, ExitColumn);

    for (int zone = 1; zone <= PanelRecord::kZoneCount; ++zone) {
        ZoneControls& row = zones_[static_cast<std::size_t>(zone - 1)];
        // The user events are left out of the event boxes.
        row.zone = BuildZoneRow(zone, "lblZone", "cbbZoneType", "bxZoneEvent",
                                PanelRecord::kZoneTypeSelector, false);
        row.partition = Named(List("", PanelRecord::PartitionTexts()),
                              NumberedName("cbbZonePart", zone).constData(), zone);
        row.requery = Named(new QCheckBox, NumberedName("chkRequery", zone).constData(), zone);
        SetHint(row.requery, kRequeryHint);
        row.rearm = Named(new QCheckBox, NumberedName("chkRearm", zone).constData(), zone);
        SetHint(row.rearm, kRearmHint);
        row.entry = NumberEdit(NumberedName("edtDelayIn", zone).constData(), 2);
        row.exit = NumberEdit(NumberedName("edtDelayOut", zone).constData(), 2);
        for (QLineEdit* edit : {row.entry, row.exit}) {
            edit->setProperty(kTagProperty, zone);
            // A hidden field keeps its place, so the rows stay aligned.
            QSizePolicy policy = edit->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            edit->setSizePolicy(policy);
        }
        for (QCheckBox* box : {row.requery, row.rearm}) {
            QSizePolicy policy = box->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            box->setSizePolicy(policy);
        }
        const int at = kFirstZoneRow + zone - 1;
        grid->addWidget(row.zone.label, at, LabelColumn);
        grid->addWidget(row.partition, at, PartitionColumn);
        grid->addWidget(row.zone.type, at, TypeColumn);
        grid->addWidget(row.zone.event, at, EventColumn);
        grid->addWidget(row.requery, at, RequeryColumn, Qt::AlignHCenter);
        grid->addWidget(row.rearm, at, RearmColumn, Qt::AlignHCenter);
        grid->addWidget(row.entry, at, EntryColumn);
        grid->addWidget(row.exit, at, ExitColumn);
    }
    grid->setColumnStretch(ExitColumn + 1, 1);
    return zones;
}

QGroupBox* PanelEditor::BuildDependency() {
    auto* group =
        Named(new QGroupBox(QStringLiteral("Зависимость охраны раздела 1")), "grpDependency");
    SetHint(group, QStringLiteral("Первый раздел будет ставится на охрану если стоят на \n"
                                  "охране все отмеченные разделы;\n"
                                  "или снимается при снятии с охраны любого отмеченного."));
    auto* row = new QHBoxLayout(group);
    for (int partition = 2; partition <= PanelRecord::kPartitionCount; ++partition) {
        QCheckBox*& box = dependency_[static_cast<std::size_t>(partition - 2)];
        box = Check(NumberedName("chkDepend", partition).constData(), QString::number(partition),
                    partition);
        row->addWidget(box);
    }
    return group;
}

QWidget* PanelEditor::BuildTransmissionPage() {
    auto* page = Named(new QWidget, "tsTransmission");
    bxInterface = List("bxInterface", config_.record.InterfaceTexts());
    chkRemoteDisarm = Check("chkRemoteDisarm", QStringLiteral("Разрешить снятие с охраны"));
    SetHint(chkRemoteDisarm, QStringLiteral("Разрешить снятие с охраны обратной командой Velmor"));
    auto* interface = new QHBoxLayout;
    interface->addWidget(Label("lblInterface", QStringLiteral("Вид передачи:")));
    interface->addWidget(bxInterface);
    interface->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(interface);
    layout->addWidget(chkRemoteDisarm);
    if (config_.record.HasGsm()) {
        wgtNetNum = NetworkNumberRow(PanelRecord::kNetworkNumberMin, PanelRecord::kNetworkNumberMax,
                                     udNetNum);
        layout->addWidget(wgtNetNum);
        layout->addWidget(BuildGsmPage());
    }
    layout->addStretch();
    return page;
}

QWidget* PanelEditor::BuildGsmPage() {
    wgtGsm = Named(new QWidget, "wgtGsm");
    medtDevNum = NumberEdit("medtDevNum", 5);
    medtDevNum->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), this));
    grdDirections = Named(new DirectionTable, "grdDirections");
    chkSendSms = Check("chkSendSms", QStringLiteral("Передавать SMS"));
    btnChangeSms = Named(new QPushButton(QStringLiteral("Изменить...")), "btnChangeSms");
    edtChannelTest = NumberEdit("edtChannelTest", 3);
    SetHint(edtChannelTest, QStringLiteral("1-255. 0-контроль канала выключен"));
    chkSmsDisarm = Check("chkSmsDisarm", QStringLiteral("Разрешить снятие  по SMS"));

    auto* number = new QHBoxLayout;
    number->addWidget(Label("lblDevNum", QStringLiteral("Номер прибора:")));
    number->addWidget(medtDevNum);
    number->addStretch();
    auto* sms = new QHBoxLayout;
    sms->addWidget(chkSendSms);
    sms->addWidget(btnChangeSms);
    sms->addStretch();
    auto* test = new QHBoxLayout;
    test->addWidget(Label("lblChannelTest", QStringLiteral("Интервал контроля канала, мин:")));
    test->addWidget(edtChannelTest);
    test->addStretch();
    auto* layout = new QVBoxLayout(wgtGsm);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(number);
    layout->addWidget(
        Label("lblDirections", QStringLiteral("Направления доставки: (можно менять порядок "
                                              "перетаскиванием)")));
    layout->addWidget(grdDirections);
    layout->addLayout(sms);
    layout->addLayout(test);
    layout->addWidget(chkSmsDisarm);
    return wgtGsm;
}

QWidget* PanelEditor::BuildPeripheryPage() {
    auto* page = Named(new QWidget, "tsPeriphery");
    bxLampMode = List("bxLampMode", PanelRecord::LampModeTexts());
    bxLedMode = List("bxLedMode", PanelRecord::LedModeTexts());
    auto* led =
        Named(new QGroupBox(QStringLiteral("Светодиод считывателя Touch Memory")), "grpReaderLed");
    (new QVBoxLayout(led))->addWidget(bxLedMode);
    bxBuzzer = BuzzerBox();
    edtSirenTime = NumberEdit("edtSirenTime", 3);
    chkGuardSnd = Check("chkGuardSnd", QStringLiteral("Сигналы взятия\\снятия сиреной"));
    chkLampBlink = Check("chkLampBlink", QStringLiteral("При постановке лампа мигает"));
    chkFeedback = Check("chkFeedback", QStringLiteral("Отображать взятие с учетом обратной связи"));
    chkAttentionPcn = Check("chkAttentionPcn", QStringLiteral("Передавать события на ПЦН"));
    chkAttentionSiren = Check("chkAttentionSiren", QStringLiteral("Включить сирену"));
    auto* twoThreshold =
        Named(new QGroupBox(QStringLiteral("Двухпороговые шлейфы")), "grpTwoThreshold");
    auto* twoThresholdRow = new QHBoxLayout(twoThreshold);
    twoThresholdRow->addWidget(chkAttentionPcn);
    twoThresholdRow->addWidget(chkAttentionSiren);
    twoThresholdRow->addStretch();

    auto* form = new QFormLayout;
    form->addRow(Label("lblLampMode", QStringLiteral("Режим работы лампы:")), bxLampMode);
    form->addRow(Label("lblBuzzer", QStringLiteral("Внутренний зуммер:")), bxBuzzer);
    form->addRow(Label("lblSirenTime", QStringLiteral("Время работы сирены, сек")), edtSirenTime);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(BuildRelays());
    layout->addWidget(BuildMonitoring());
    layout->addWidget(twoThreshold);
    layout->addLayout(form);
    layout->addWidget(led);
    for (QCheckBox* box : {chkGuardSnd, chkLampBlink, chkFeedback})
        layout->addWidget(box);
    layout->addStretch();
    return page;
}

QGroupBox* PanelEditor::BuildRelays() {
    auto* group = Named(new QGroupBox(QStringLiteral("Режим работы реле")), "grpRelays");
    bxRelayAlarm = List("bxRelayAlarm", RelayModeTexts());
    bxRelayFire = List("bxRelayFire", RelayModeTexts());
    bxRelayControl = List("bxRelayControl", RelayModeTexts());
    chkSmsAlarm = Check("chkSmsAlarm", QStringLiteral("по СМС"));
    SetHint(chkSmsAlarm,
            QStringLiteral("Отключить реле от тревожной тактики.\nРеле управляется по SMS."));
    chkSmsFire = Check("chkSmsFire", QStringLiteral("по СМС"));
    SetHint(chkSmsFire,
            QStringLiteral("Отключить реле от пожарной тактики.\nРеле управляется по SMS."));
    auto* grid = new QGridLayout(group);
    grid->addWidget(Label("lblRelayAlarm", QStringLiteral("Тревога")), 0, 0);
    grid->addWidget(bxRelayAlarm, 0, 1);
    grid->addWidget(chkSmsAlarm, 0, 2);
    grid->addWidget(Label("lblRelayFire", QStringLiteral("Пожар")), 1, 0);
    grid->addWidget(bxRelayFire, 1, 1);
    grid->addWidget(chkSmsFire, 1, 2);
    // The control relay's mode is kept in the record but not offered.
    QLabel* control = Label("lblRelayControl", QStringLiteral("Управление"));
    grid->addWidget(control, 2, 0);
    grid->addWidget(bxRelayControl, 2, 1);
    control->hide();
    bxRelayControl->hide();
    return group;
}

QGroupBox* PanelEditor::BuildMonitoring() {
    auto* group =
        Named(new QGroupBox(QStringLiteral("Контроль цепей оповещения:")), "grpOpControl");
    const std::tuple<const char*, QString, int> boxes[] = {
        {"chkExpBox1", QStringLiteral("Реле 3"), PanelRecord::kMonitorRelay3},
        {"chkExpBox2", QStringLiteral("Реле 4"), PanelRecord::kMonitorRelay4},
        {"chkExpBox6", QStringLiteral("Сирена"), PanelRecord::kMonitorSiren},
        {"chkExpBox7", QStringLiteral("Лампа"), PanelRecord::kMonitorLamp},
    };
    auto* row = new QHBoxLayout(group);
    for (std::size_t i = 0; i < monitoring_.size(); ++i) {
        const auto& [name, caption, tag] = boxes[i];
        monitoring_[i] = Check(name, caption, tag);
        row->addWidget(monitoring_[i]);
    }
    row->addStretch();
    return group;
}

QWidget* PanelEditor::BuildOutputsPage() {
    auto* page = Named(new QWidget, "tsOutputs");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Label("lblMatrix", QStringLiteral("Переназначение реле и выходов прибора")));
    matrix_ = new OutputMatrix(this, page); // adds itself to the page's layout
    layout->addStretch();
    return page;
}

// Only the user's own actions reach the handlers: `activated`, `clicked` and `stepped` are not
// emitted when RecordToControls shows a record, and the edits are watched for leaving.
void PanelEditor::ConnectHandlers() {
    for (int zone = 1; zone <= PanelRecord::kZoneCount; ++zone)
        ConnectZone(zone);
    ConnectLists();
    ConnectChecks();
    if (udNetNum != nullptr)
        connect(udNetNum, &UpDownField::stepped, this,
                [this](int number) { config_.record.SetNetworkNumber(number); });
    ConnectTypedFields();
}

void PanelEditor::ConnectTypedFields() {
    PanelRecord& record = config_.record;
    for (int zone = 1; zone <= PanelRecord::kZoneCount; ++zone) {
        const ZoneControls& row = zones_[static_cast<std::size_t>(zone - 1)];
        for (const auto& [edit, delay] : {std::pair{row.entry, PanelRecord::Delay::Entry},
                                          std::pair{row.exit, PanelRecord::Delay::Exit}})
            AddCorrectedField(edit, [&record, zone, delay](const std::string& text) {
                return record.SetZoneDelayFromText(zone, delay, text);
            });
    }
    AddCorrectedField(edtSirenTime, [&record](const std::string& text) {
        return record.SetSirenTimeFromText(text);
    });
    if (edtChannelTest != nullptr)
        AddCorrectedField(edtChannelTest, [&record](const std::string& text) {
            return record.SetChannelTestFromText(text);
        });
    // Only four digits are stored; anything else shows the stored number again.
    if (medtDevNum != nullptr)
        AddTypedField(medtDevNum, [&record](const std::string& text) {
            if (record.SetDeviceNumberFromText(text))
                return TypedInput{};
            return TypedInput{record.GsmPage().deviceNumber, std::nullopt};
        });
}

void PanelEditor::ConnectZone(int zone) {
    const ZoneControls& row = zones_[static_cast<std::size_t>(zone - 1)];
    connect(row.partition, &QComboBox::activated, this,
            [this, zone] { onZonePartitionChanged(zone); });
    row.zone.Connect(
        this, [this, zone] { onZoneTypeChanged(zone); },
        [this, zone] { onZoneEventChanged(zone); });
}

void PanelEditor::ConnectLists() {
    using Relay = PanelRecord::Relay;
    const std::pair<QComboBox*, std::function<void(int)>> lists[] = {
        {bxRelayAlarm,
         [this](int at) {
             config_.record.SetRelayMode(Relay::Alarm, at);
         }},
        {bxRelayFire,
         [this](int at) {
             config_.record.SetRelayMode(Relay::Fire, at);
         }},
        {bxRelayControl,
         [this](int at) {
             config_.record.SetRelayMode(Relay::Control, at);
         }},
        {bxInternalPartition,
         [this](int at) {
             config_.record.SetInternalPartition(at);
         }},
        {bxLampMode,
         [this](int at) {
             config_.record.SetLampMode(at);
         }},
        {bxLedMode,
         [this](int at) {
             config_.record.SetLedMode(at);
         }},
        {bxBuzzer,
         [this](int at) {
             config_.record.SetBuzzerFromIndex(at);
         }},
        {bxTouchMemory,
         [this](int at) {
             config_.record.SetTouchMemoryMode(at);
         }},
        {bxInterface,
         [this](int) {
             onInterfacePicked();
         }},
    };
    for (const auto& [box, store] : lists)
        connect(box, &QComboBox::activated, this, store);
}

void PanelEditor::ConnectChecks() {
    using Option = PanelRecord::Option;
    using SmsRelay = PanelRecord::SmsRelay;
    const std::pair<QCheckBox*, std::function<void(bool)>> checks[] = {
        {chkSmsAlarm,
         [this](bool on) {
             config_.record.SetSmsRelay(SmsRelay::Alarm, on);
         }},
        {chkSmsFire,
         [this](bool on) {
             config_.record.SetSmsRelay(SmsRelay::Fire, on);
         }},
        {chkAttentionPcn,
         [this](bool on) {
             config_.record.SetOption(Option::TwoThresholdEvents, on);
         }},
        {chkAttentionSiren,
         [this](bool on) {
             config_.record.SetOption(Option::TwoThresholdSiren, on);
         }},
        {chkFeedback,
         [this](bool on) {
             config_.record.SetOption(Option::ArmingFeedback, on);
         }},
        {chkLampBlink,
         [this](bool on) {
             config_.record.SetOption(Option::LampBlinks, on);
         }},
        {chkGuardSnd,
         [this](bool on) {
             config_.record.SetSirenSignals(on);
         }},
        {chkRemoteDisarm,
         [this](bool on) {
             config_.record.SetRemoteDisarm(on);
         }},
        {chkSmsDisarm,
         [this](bool on) {
             config_.record.SetSmsDisarm(on);
         }},
        {chkSendSms,
         [this](bool) {
             onSendSmsClicked();
         }},
    };
    for (const auto& [box, store] : checks) {
        if (box != nullptr)
            connect(box, &QCheckBox::clicked, this, store);
    }
    for (QCheckBox* box : monitoring_)
        connect(box, &QCheckBox::clicked, this,
                [this, box](bool on) { config_.record.SetMonitorBit(TagOf(box), on); });
    // "Изменить..." has nothing to change yet.
}

} // namespace tesmira::ui
