#include "editors/ui/FiveZonePanelEditor.h"

#include "editors/ui/PanelControls.h"
#include "gui/EditHelpers.h"
#include "gui/FormControls.h"
#include "gui/UpDownField.h"
#include "link/LinkModule.h"
#include "model/DeviceCatalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tesmira::ui {

namespace {

using Option = FiveZonePanelRecord::Option;

} // namespace

FiveZonePanelEditor::FiveZonePanelEditor(LinkModule& link, QWidget* parent)
    : DeviceEditor(link, config_, parent) {
    DeviceType = FiveZonePanelRecord::kType33;
    setWindowTitle(QString::fromStdString(DeviceTypeName(DeviceType)));
    BuildControls();
    ConnectHandlers();
    RecordToControls();
}

// --- showing the record ---

void FiveZonePanelEditor::RecordToControls() {
    for (int zone = 1; zone <= FiveZonePanelRecord::kZoneCount; ++zone)
        ShowZone(zone, *config_.record.Zone(zone));
    Select(interface_, config_.record.InterfaceIndex());
    networkNumber_->ShowValue(config_.record.NetworkNumber());
    SetCheckedSilently(gsm_, config_.record.GsmOn());
    SetCheckedSilently(armingFeedback_, config_.record.ArmingFeedback());
    SetCheckedSilently(lineShortDuty_, config_.record.HasOption(Option::LineShortDuty));
    SetCheckedSilently(keyFobAlarm_, config_.record.HasOption(Option::KeyFobAlarm));
    SetCheckedSilently(lampBlinks_, config_.record.HasOption(Option::LampBlinks));
    SetCheckedSilently(remoteDisarm_, config_.record.RemoteDisarm());
    sirenTime_->setText(QString::fromStdString(config_.record.SirenTimeText()));
    Select(buzzer_, config_.record.BuzzerIndex());
    Select(touchMemoryMode_, config_.record.TouchMemoryModeIndex());
    ShowTransmission(config_.record.TransmissionVisibility());
    lineShortDuty_->setVisible(config_.record.LineShortVisible());
}

void FiveZonePanelEditor::ShowZone(int zone, const FiveZonePanelRecord::ZoneView& view) {
    Zone(zone).Show(view.typeIndex, view.eventEnabled, view.eventSelection.value_or(0));
}

void FiveZonePanelEditor::ShowTransmission(const FiveZonePanelRecord::TransmissionView& view) {
    networkNumberRow_->setVisible(view.networkNumber);
    remoteDisarm_->setVisible(view.remoteDisarm);
}

// --- handlers ---

void FiveZonePanelEditor::onZoneTypeChanged(int zone) {
    if (const auto view = config_.record.SetZoneType(zone, Zone(zone).TypeCode()))
        ShowZone(zone, *view);
}

void FiveZonePanelEditor::onZoneEventChanged(int zone) {
    config_.record.SetZoneEvent(zone, Zone(zone).EventIndex());
}

// --- building ---

void FiveZonePanelEditor::BuildControls() {
    pages_ = EditorPages(this);
    pages_->addTab(BuildMainPage(), QStringLiteral("Основное"));
    pages_->addTab(BuildTransmissionPage(), QStringLiteral("Передача"));
    pages_->setCurrentIndex(0);
}

QWidget* FiveZonePanelEditor::BuildMainPage() {
    auto* page = Named(new QWidget, "tsMain");
    sirenTime_ = NumberEdit("edtSirenTime", 3);
    buzzer_ = BuzzerBox();
    touchMemoryMode_ = List("bxTouchMemory", TouchMemoryModeTexts());
    lineShortDuty_ = Check("chkLineShort", QStringLiteral("Контроль наряда замыканием линии TM"));
    keyFobAlarm_ = Check("chkKeyFob", QStringLiteral("Включить тревожные кнопки брелка"));
    lampBlinks_ = Check("chkLampBlink", QStringLiteral("При постановке лампа мигает"));
    armingFeedback_ =
        Check("chkFeedback", QStringLiteral("Отображать взятие с учетом обратной связи"));
    auto* form = new QFormLayout;
    form->addRow(Label("lblSirenTime", QStringLiteral("Время работы сирены, сек")), sirenTime_);
    form->addRow(Label("lblBuzzer", QStringLiteral("Внутренний зуммер:")), buzzer_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(BuildZones());
    layout->addLayout(form);
    layout->addWidget(touchMemoryMode_, 0, Qt::AlignLeft);
    for (QCheckBox* box : {lineShortDuty_, keyFobAlarm_, lampBlinks_, armingFeedback_})
        layout->addWidget(box);
    layout->addStretch();
    return page;
}

// The user events are left out of the event boxes.
QWidget* FiveZonePanelEditor::BuildZones() {
    for (int zone = 1; zone <= FiveZonePanelRecord::kZoneCount; ++zone)
        zones_[static_cast<std::size_t>(zone - 1)] =
            BuildZoneRow(zone, "lblZone", "cbbZoneType", "bxZoneEvent",
                         FiveZonePanelRecord::kZoneTypeSelector, false);
    return ZoneGrid(zones_, "lblZoneTypeHead", "lblZoneEventHead");
}

QWidget* FiveZonePanelEditor::BuildTransmissionPage() {
    auto* page = Named(new QWidget, "tsTransmission");
    interface_ = List("bxInterface", FiveZonePanelRecord::InterfaceTexts());
    gsm_ = Check("chkGsm", QStringLiteral("Включить передачу  GSM"));
    networkNumberRow_ = NetworkNumberRow(FiveZonePanelRecord::kNetworkNumberMin,
                                         FiveZonePanelRecord::kNetworkNumberMax, networkNumber_);
    remoteDisarm_ =
        Check("chkRemoteDisarm", QStringLiteral("Разрешить дистанционное снятие с охраны"));
    SetHint(remoteDisarm_, QStringLiteral("Разрешить снятие с охраны обратной командой Velmor"));
    auto* interface = new QHBoxLayout;
    interface->addWidget(Label("lblInterface", QStringLiteral("Вид передачи:")));
    interface->addWidget(interface_);
    interface->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(interface);
    layout->addWidget(gsm_);
    layout->addWidget(networkNumberRow_);
    layout->addWidget(remoteDisarm_);
    layout->addStretch();
    return page;
}

// Only the user's own actions reach the handlers: `activated`, `clicked` and `stepped` are not
// emitted when RecordToControls shows a record, and the siren time is watched for leaving.
void FiveZonePanelEditor::ConnectHandlers() {
    for (int zone = 1; zone <= FiveZonePanelRecord::kZoneCount; ++zone)
        Zone(zone).Connect(
            this, [this, zone] { onZoneTypeChanged(zone); },
            [this, zone] { onZoneEventChanged(zone); });
    connect(buzzer_, &QComboBox::activated, this,
            [this](int at) { config_.record.SetBuzzerFromIndex(at); });
    connect(touchMemoryMode_, &QComboBox::activated, this,
            [this](int at) { lineShortDuty_->setVisible(config_.record.SetTouchMemoryMode(at)); });
    connect(interface_, &QComboBox::activated, this,
            [this](int at) { ShowTransmission(config_.record.SetInterface(at)); });
    connect(gsm_, &QCheckBox::clicked, this,
            [this](bool on) { ShowTransmission(config_.record.SetGsm(on)); });
    connect(networkNumber_, &UpDownField::stepped, this,
            [this](int number) { config_.record.SetNetworkNumber(number); });
    const std::pair<QCheckBox*, Option> options[] = {{lineShortDuty_, Option::LineShortDuty},
                                                     {keyFobAlarm_, Option::KeyFobAlarm},
                                                     {lampBlinks_, Option::LampBlinks}};
    for (const auto& [box, option] : options)
        connect(box, &QCheckBox::clicked, this,
                [this, option](bool on) { config_.record.SetOption(option, on); });
    connect(armingFeedback_, &QCheckBox::clicked, this,
            [this](bool on) { config_.record.SetArmingFeedback(on); });
    connect(remoteDisarm_, &QCheckBox::clicked, this,
            [this](bool on) { config_.record.SetRemoteDisarm(on); });
    AddCorrectedField(sirenTime_, [this](const std::string& text) {
        return config_.record.SetSirenTimeFromText(text);
    });
}

} // namespace tesmira::ui
