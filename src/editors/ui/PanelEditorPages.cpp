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
    pages_ = EditorPages(this);
    pages_->addTab(BuildMainPage(), QStringLiteral("Основное"));
    pages_->addTab(BuildTransmissionPage(), QStringLiteral("Передача"));
    pages_->addTab(BuildPeripheryPage(), QStringLiteral("Периферия"));
    pages_->addTab(BuildOutputsPage(), QStringLiteral("Выходы"));
    pages_->setCurrentIndex(0);
}

QWidget* PanelEditor::BuildMainPage() {
    auto* page = Named(new QWidget, "tsMain");
    touchMemoryMode_ = List("bxTouchMemory", TouchMemoryModeTexts());
    internalPartition_ = List("bxInternalPartition", PanelRecord::PartitionTexts());
    SetHint(internalPartition_,
            QStringLiteral("Номер раздела для передачи системных событий (тампера, БП)"));
    auto* internal = new QHBoxLayout;
    internal->addWidget(
        Label("lblInternalPartition", QStringLiteral("Раздел для внутренних событий")));
    internal->addWidget(internalPartition_);
    internal->addStretch();
    auto* settings = new QVBoxLayout;
    settings->addWidget(touchMemoryMode_);
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
    interface_ = List("bxInterface", config_.record.InterfaceTexts());
    remoteDisarm_ = Check("chkRemoteDisarm", QStringLiteral("Разрешить снятие с охраны"));
    SetHint(remoteDisarm_, QStringLiteral("Разрешить снятие с охраны обратной командой Velmor"));
    auto* interface = new QHBoxLayout;
    interface->addWidget(Label("lblInterface", QStringLiteral("Вид передачи:")));
    interface->addWidget(interface_);
    interface->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(interface);
    layout->addWidget(remoteDisarm_);
    if (config_.record.HasGsm()) {
        networkNumberRow_ = NetworkNumberRow(PanelRecord::kNetworkNumberMin,
                                             PanelRecord::kNetworkNumberMax, networkNumber_);
        layout->addWidget(networkNumberRow_);
        layout->addWidget(BuildGsmPage());
    }
    layout->addStretch();
    return page;
}

QWidget* PanelEditor::BuildGsmPage() {
    gsmPage_ = Named(new QWidget, "wgtGsm");
    deviceNumber_ = NumberEdit("medtDevNum", 5);
    deviceNumber_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), this));
    directions_ = Named(new DirectionTable, "grdDirections");
    sendSms_ = Check("chkSendSms", QStringLiteral("Передавать SMS"));
    changeSms_ = Named(new QPushButton(QStringLiteral("Изменить...")), "btnChangeSms");
    channelTest_ = NumberEdit("edtChannelTest", 3);
    SetHint(channelTest_, QStringLiteral("1-255. 0-контроль канала выключен"));
    smsDisarm_ = Check("chkSmsDisarm", QStringLiteral("Разрешить снятие  по SMS"));

    auto* number = new QHBoxLayout;
    number->addWidget(Label("lblDevNum", QStringLiteral("Номер прибора:")));
    number->addWidget(deviceNumber_);
    number->addStretch();
    auto* sms = new QHBoxLayout;
    sms->addWidget(sendSms_);
    sms->addWidget(changeSms_);
    sms->addStretch();
    auto* test = new QHBoxLayout;
    test->addWidget(Label("lblChannelTest", QStringLiteral("Интервал контроля канала, мин:")));
    test->addWidget(channelTest_);
    test->addStretch();
    auto* layout = new QVBoxLayout(gsmPage_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(number);
    layout->addWidget(
        Label("lblDirections", QStringLiteral("Направления доставки: (можно менять порядок "
                                              "перетаскиванием)")));
    layout->addWidget(directions_);
    layout->addLayout(sms);
    layout->addLayout(test);
    layout->addWidget(smsDisarm_);
    return gsmPage_;
}

QWidget* PanelEditor::BuildPeripheryPage() {
    auto* page = Named(new QWidget, "tsPeriphery");
    lampMode_ = List("bxLampMode", PanelRecord::LampModeTexts());
    readerLedMode_ = List("bxLedMode", PanelRecord::LedModeTexts());
    auto* led =
        Named(new QGroupBox(QStringLiteral("Светодиод считывателя Touch Memory")), "grpReaderLed");
    (new QVBoxLayout(led))->addWidget(readerLedMode_);
    buzzer_ = BuzzerBox();
    sirenTime_ = NumberEdit("edtSirenTime", 3);
    sirenSignals_ = Check("chkGuardSnd", QStringLiteral("Сигналы взятия\\снятия сиреной"));
    lampBlinks_ = Check("chkLampBlink", QStringLiteral("При постановке лампа мигает"));
    armingFeedback_ =
        Check("chkFeedback", QStringLiteral("Отображать взятие с учетом обратной связи"));
    twoThresholdEvents_ = Check("chkAttentionPcn", QStringLiteral("Передавать события на ПЦН"));
    twoThresholdSiren_ = Check("chkAttentionSiren", QStringLiteral("Включить сирену"));
    auto* twoThreshold =
        Named(new QGroupBox(QStringLiteral("Двухпороговые шлейфы")), "grpTwoThreshold");
    auto* twoThresholdRow = new QHBoxLayout(twoThreshold);
    twoThresholdRow->addWidget(twoThresholdEvents_);
    twoThresholdRow->addWidget(twoThresholdSiren_);
    twoThresholdRow->addStretch();

    auto* form = new QFormLayout;
    form->addRow(Label("lblLampMode", QStringLiteral("Режим работы лампы:")), lampMode_);
    form->addRow(Label("lblBuzzer", QStringLiteral("Внутренний зуммер:")), buzzer_);
    form->addRow(Label("lblSirenTime", QStringLiteral("Время работы сирены, сек")), sirenTime_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(BuildRelays());
    layout->addWidget(BuildMonitoring());
    layout->addWidget(twoThreshold);
    layout->addLayout(form);
    layout->addWidget(led);
    for (QCheckBox* box : {sirenSignals_, lampBlinks_, armingFeedback_})
        layout->addWidget(box);
    layout->addStretch();
    return page;
}

QGroupBox* PanelEditor::BuildRelays() {
    auto* group = Named(new QGroupBox(QStringLiteral("Режим работы реле")), "grpRelays");
    alarmRelayMode_ = List("bxRelayAlarm", RelayModeTexts());
    fireRelayMode_ = List("bxRelayFire", RelayModeTexts());
    controlRelayMode_ = List("bxRelayControl", RelayModeTexts());
    alarmRelayBySms_ = Check("chkSmsAlarm", QStringLiteral("по СМС"));
    SetHint(alarmRelayBySms_,
            QStringLiteral("Отключить реле от тревожной тактики.\nРеле управляется по SMS."));
    fireRelayBySms_ = Check("chkSmsFire", QStringLiteral("по СМС"));
    SetHint(fireRelayBySms_,
            QStringLiteral("Отключить реле от пожарной тактики.\nРеле управляется по SMS."));
    auto* grid = new QGridLayout(group);
    grid->addWidget(Label("lblRelayAlarm", QStringLiteral("Тревога")), 0, 0);
    grid->addWidget(alarmRelayMode_, 0, 1);
    grid->addWidget(alarmRelayBySms_, 0, 2);
    grid->addWidget(Label("lblRelayFire", QStringLiteral("Пожар")), 1, 0);
    grid->addWidget(fireRelayMode_, 1, 1);
    grid->addWidget(fireRelayBySms_, 1, 2);
    // The control relay's mode is kept in the record but not offered.
    QLabel* control = Label("lblRelayControl", QStringLiteral("Управление"));
    grid->addWidget(control, 2, 0);
    grid->addWidget(controlRelayMode_, 2, 1);
    control->hide();
    controlRelayMode_->hide();
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
    if (networkNumber_ != nullptr)
        connect(networkNumber_, &UpDownField::stepped, this,
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
    AddCorrectedField(sirenTime_, [&record](const std::string& text) {
        return record.SetSirenTimeFromText(text);
    });
    if (channelTest_ != nullptr)
        AddCorrectedField(channelTest_, [&record](const std::string& text) {
            return record.SetChannelTestFromText(text);
        });
    // Only four digits are stored; anything else shows the stored number again.
    if (deviceNumber_ != nullptr)
        AddTypedField(deviceNumber_, [&record](const std::string& text) {
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
        {alarmRelayMode_,
         [this](int at) {
             config_.record.SetRelayMode(Relay::Alarm, at);
         }},
        {fireRelayMode_,
         [this](int at) {
             config_.record.SetRelayMode(Relay::Fire, at);
         }},
        {controlRelayMode_,
         [this](int at) {
             config_.record.SetRelayMode(Relay::Control, at);
         }},
        {internalPartition_,
         [this](int at) {
             config_.record.SetInternalPartition(at);
         }},
        {lampMode_,
         [this](int at) {
             config_.record.SetLampMode(at);
         }},
        {readerLedMode_,
         [this](int at) {
             config_.record.SetLedMode(at);
         }},
        {buzzer_,
         [this](int at) {
             config_.record.SetBuzzerFromIndex(at);
         }},
        {touchMemoryMode_,
         [this](int at) {
             config_.record.SetTouchMemoryMode(at);
         }},
        {interface_,
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
        {alarmRelayBySms_,
         [this](bool on) {
             config_.record.SetSmsRelay(SmsRelay::Alarm, on);
         }},
        {fireRelayBySms_,
         [this](bool on) {
             config_.record.SetSmsRelay(SmsRelay::Fire, on);
         }},
        {twoThresholdEvents_,
         [this](bool on) {
             config_.record.SetOption(Option::TwoThresholdEvents, on);
         }},
        {twoThresholdSiren_,
         [this](bool on) {
             config_.record.SetOption(Option::TwoThresholdSiren, on);
         }},
        {armingFeedback_,
         [this](bool on) {
             config_.record.SetOption(Option::ArmingFeedback, on);
         }},
        {lampBlinks_,
         [this](bool on) {
             config_.record.SetOption(Option::LampBlinks, on);
         }},
        {sirenSignals_,
         [this](bool on) {
             config_.record.SetSirenSignals(on);
         }},
        {remoteDisarm_,
         [this](bool on) {
             config_.record.SetRemoteDisarm(on);
         }},
        {smsDisarm_,
         [this](bool on) {
             config_.record.SetSmsDisarm(on);
         }},
        {sendSms_,
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
