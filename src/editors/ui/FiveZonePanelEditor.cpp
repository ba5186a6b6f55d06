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
    Select(bxInterface, config_.record.InterfaceIndex());
    udNetNum->ShowValue(config_.record.NetworkNumber());
    SetCheckedSilently(chkGsm, config_.record.GsmOn());
    SetCheckedSilently(chkFeedback, config_.record.ArmingFeedback());
    SetCheckedSilently(chkLineShort, config_.record.HasOption(Option::LineShortDuty));
    SetCheckedSilently(chkKeyFob, config_.record.HasOption(Option::KeyFobAlarm));
    SetCheckedSilently(chkLampBlink, config_.record.HasOption(Option::LampBlinks));
    SetCheckedSilently(chkRemoteDisarm, config_.record.RemoteDisarm());
    edtSirenTime->setText(QString::fromStdString(config_.record.SirenTimeText()));
    Select(bxBuzzer, config_.record.BuzzerIndex());
    Select(bxTouchMemory, config_.record.TouchMemoryModeIndex());
    ShowTransmission(config_.record.TransmissionVisibility());
    chkLineShort->setVisible(config_.record.LineShortVisible());
}

void FiveZonePanelEditor::ShowZone(int zone, const FiveZonePanelRecord::ZoneView& view) {
    Zone(zone).Show(view.typeIndex, view.eventEnabled, view.eventSelection.value_or(0));
}

void FiveZonePanelEditor::ShowTransmission(const FiveZonePanelRecord::TransmissionView& view) {
    wgtNetNum->setVisible(view.networkNumber);
    chkRemoteDisarm->setVisible(view.remoteDisarm);
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
    pgcConfig = EditorPages(this);
    pgcConfig->addTab(BuildMainPage(), QStringLiteral("Основное"));
    pgcConfig->addTab(BuildTransmissionPage(), QStringLiteral("Передача"));
    pgcConfig->setCurrentIndex(0);
}

QWidget* FiveZonePanelEditor::BuildMainPage() {
    auto* page = Named(new QWidget, "tsMain");
    edtSirenTime = NumberEdit("edtSirenTime", 3);
    bxBuzzer = BuzzerBox();
    bxTouchMemory = List("bxTouchMemory", TouchMemoryModeTexts());
    chkLineShort = Check("chkLineShort", QStringLiteral("Контроль наряда замыканием линии TM"));
    chkKeyFob = Check("chkKeyFob", QStringLiteral("Включить тревожные кнопки брелка"));
    chkLampBlink = Check("chkLampBlink", QStringLiteral("При постановке лампа мигает"));
    chkFeedback = Check("chkFeedback", QStringLiteral("Отображать взятие с учетом обратной связи"));
    auto* form = new QFormLayout;
    form->addRow(Label("lblSirenTime", QStringLiteral("Время работы сирены, сек")), edtSirenTime);
    form->addRow(Label("lblBuzzer", QStringLiteral("Внутренний зуммер:")), bxBuzzer);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(BuildZones());
    layout->addLayout(form);
    layout->addWidget(bxTouchMemory, 0, Qt::AlignLeft);
    for (QCheckBox* box : {chkLineShort, chkKeyFob, chkLampBlink, chkFeedback})
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
    bxInterface = List("bxInterface", FiveZonePanelRecord::InterfaceTexts());
    chkGsm = Check("chkGsm", QStringLiteral("Включить передачу  GSM"));
    wgtNetNum = NetworkNumberRow(FiveZonePanelRecord::kNetworkNumberMin,
                                 FiveZonePanelRecord::kNetworkNumberMax, udNetNum);
    chkRemoteDisarm =
        Check("chkRemoteDisarm", QStringLiteral("Разрешить дистанционное снятие с охраны"));
    SetHint(chkRemoteDisarm, QStringLiteral("Разрешить снятие с охраны обратной командой Velmor"));
    auto* interface = new QHBoxLayout;
    interface->addWidget(Label("lblInterface", QStringLiteral("Вид передачи:")));
    interface->addWidget(bxInterface);
    interface->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(interface);
    layout->addWidget(chkGsm);
    layout->addWidget(wgtNetNum);
    layout->addWidget(chkRemoteDisarm);
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
    connect(bxBuzzer, &QComboBox::activated, this,
            [this](int at) { config_.record.SetBuzzerFromIndex(at); });
    connect(bxTouchMemory, &QComboBox::activated, this,
            [this](int at) { chkLineShort->setVisible(config_.record.SetTouchMemoryMode(at)); });
    connect(bxInterface, &QComboBox::activated, this,
            [this](int at) { ShowTransmission(config_.record.SetInterface(at)); });
    connect(chkGsm, &QCheckBox::clicked, this,
            [this](bool on) { ShowTransmission(config_.record.SetGsm(on)); });
    connect(udNetNum, &UpDownField::stepped, this,
            [this](int number) { config_.record.SetNetworkNumber(number); });
    const std::pair<QCheckBox*, Option> options[] = {{chkLineShort, Option::LineShortDuty},
                                                     {chkKeyFob, Option::KeyFobAlarm},
                                                     {chkLampBlink, Option::LampBlinks}};
    for (const auto& [box, option] : options)
        connect(box, &QCheckBox::clicked, this,
                [this, option](bool on) { config_.record.SetOption(option, on); });
    connect(chkFeedback, &QCheckBox::clicked, this,
            [this](bool on) { config_.record.SetArmingFeedback(on); });
    connect(chkRemoteDisarm, &QCheckBox::clicked, this,
            [this](bool on) { config_.record.SetRemoteDisarm(on); });
    AddCorrectedField(edtSirenTime, [this](const std::string& text) {
        return config_.record.SetSirenTimeFromText(text);
    });
}

} // namespace tesmira::ui
