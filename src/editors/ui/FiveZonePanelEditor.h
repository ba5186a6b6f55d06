// The editor of the five-zone panel, device type 33: pages "Основное" (zones, siren, buzzer,
// Touch Memory) and "Передача" (interface, GSM, network number, remote disarming) over the
// 20-byte record.
#pragma once

#include "editors/RecordConfigs.h"
#include "gui/DeviceEditor.h"
#include "gui/ZoneRow.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;

namespace tesmira::ui {

class UpDownField;

class FiveZonePanelEditor : public DeviceEditor {
    Q_OBJECT
public:
    explicit FiveZonePanelEditor(LinkModule& link, QWidget* parent = nullptr);

    void RecordToControls() override;

    const FiveZonePanelRecord& Record() const { return config_.record; }

private:
    void onZoneTypeChanged(int zone);
    void onZoneEventChanged(int zone);

    void ShowZone(int zone, const FiveZonePanelRecord::ZoneView& view);
    const ZoneRow& Zone(int zone) const { return zones_[static_cast<std::size_t>(zone - 1)]; }
    void ShowTransmission(const FiveZonePanelRecord::TransmissionView& view);

    void BuildControls();
    QWidget* BuildMainPage();
    QWidget* BuildZones();
    QWidget* BuildTransmissionPage();
    void ConnectHandlers();

    FiveZonePanelConfig config_;

    QTabWidget* pages_ = nullptr;
    std::array<ZoneRow, FiveZonePanelRecord::kZoneCount> zones_{}; // cbbZoneType<n>, bxZoneEvent<n>
    QLineEdit* sirenTime_ = nullptr;
    QComboBox* buzzer_ = nullptr;
    QComboBox* touchMemoryMode_ = nullptr;
    QCheckBox* lineShortDuty_ = nullptr;
    QCheckBox* keyFobAlarm_ = nullptr;
    QCheckBox* lampBlinks_ = nullptr;
    QCheckBox* armingFeedback_ = nullptr;
    QComboBox* interface_ = nullptr;
    QCheckBox* gsm_ = nullptr;
    QWidget* networkNumberRow_ = nullptr;
    UpDownField* networkNumber_ = nullptr;
    QCheckBox* remoteDisarm_ = nullptr;
};

} // namespace tesmira::ui
