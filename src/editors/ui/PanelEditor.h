// The editor of the eight-zone panels, device types 30 and 31: pages "Основное", "Передача",
// "Периферия" and "Выходы" over the 58-byte record; type 30 also shows the GSM page (device
// number, direction table, channel test, SMS disarming) and the RS-485 network number.
#pragma once

#include "editors/RecordConfigs.h"
#include "gui/DeviceEditor.h"
#include "gui/ZoneRow.h"

#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace tesmira::ui {

class DirectionTable;
class OutputMatrix;
class UpDownField;

class PanelEditor : public DeviceEditor {
    Q_OBJECT
public:
    // `type` (PanelRecord::kType30 or kType31) decides the GSM page, the network number and the
    // interface list; it is the initial DeviceType.
    PanelEditor(LinkModule& link, std::uint8_t type, QWidget* parent = nullptr);

    void RecordToControls() override;

    const PanelRecord& Record() const { return config_.record; }
    // With the boxes CollectControls would collect, as they are shown now.
    FieldTable ShownFields() const override;

protected:
    // The rearm, re-query and dependency boxes and the output matrix.
    void CollectControls() override;

private:
    PanelRecord::CollectedBoxes ShownBoxes() const;

    // The controls of one zone row; each carries the zone number as its tag.
    struct ZoneControls {
        ZoneRow zone; // lblZone<n>, cbbZoneType<n>, bxZoneEvent<n>
        QComboBox* partition = nullptr;
        QCheckBox* requery = nullptr;
        QCheckBox* rearm = nullptr;
        QLineEdit* entry = nullptr;
        QLineEdit* exit = nullptr;
    };

    // Handlers that do more than one record update.
    void onZonePartitionChanged(int zone);
    void onZoneTypeChanged(int zone);
    void onZoneEventChanged(int zone);
    void onInterfacePicked();
    void onSendSmsClicked();

    void ShowZone(int zone, const PanelRecord::ZoneView& view);
    void ShowDependency(const PanelRecord::DependencyView& view);
    void ShowInterface(const PanelRecord::InterfaceView& view);
    void ShowGsmPage();

    void BuildControls();
    QWidget* BuildMainPage();
    QWidget* BuildZones();
    QGroupBox* BuildDependency();
    QWidget* BuildTransmissionPage();
    QWidget* BuildGsmPage();
    QWidget* BuildPeripheryPage();
    QGroupBox* BuildRelays();
    QGroupBox* BuildMonitoring();
    QWidget* BuildOutputsPage();
    void ConnectHandlers();
    void ConnectTypedFields();
    void ConnectZone(int zone);
    void ConnectChecks();
    void ConnectLists();

    PanelConfig config_;

    QTabWidget* pages_ = nullptr;
    std::array<ZoneControls, PanelRecord::kZoneCount> zones_{};
    std::array<QCheckBox*, PanelRecord::kPartitionCount - 1> dependency_{}; // boxes "2".."8"
    QComboBox* touchMemoryMode_ = nullptr;
    QComboBox* internalPartition_ = nullptr;
    QComboBox* alarmRelayMode_ = nullptr;
    QComboBox* fireRelayMode_ = nullptr;
    QComboBox* controlRelayMode_ = nullptr; // hidden
    QCheckBox* alarmRelayBySms_ = nullptr;
    QCheckBox* fireRelayBySms_ = nullptr;
    std::array<QCheckBox*, 4> monitoring_{}; // "Реле 3", "Реле 4", "Сирена", "Лампа"
    QComboBox* lampMode_ = nullptr;
    QComboBox* readerLedMode_ = nullptr;
    QComboBox* buzzer_ = nullptr;
    QLineEdit* sirenTime_ = nullptr;
    QCheckBox* sirenSignals_ = nullptr;
    QCheckBox* lampBlinks_ = nullptr;
    QCheckBox* armingFeedback_ = nullptr;
    QCheckBox* twoThresholdEvents_ = nullptr;
    QCheckBox* twoThresholdSiren_ = nullptr;
    QComboBox* interface_ = nullptr;
    QCheckBox* remoteDisarm_ = nullptr;
    // Type 30 only; null on type 31.
    QWidget* networkNumberRow_ = nullptr;
    UpDownField* networkNumber_ = nullptr;
    QWidget* gsmPage_ = nullptr;
    QLineEdit* deviceNumber_ = nullptr;
    DirectionTable* directions_ = nullptr;
    QCheckBox* sendSms_ = nullptr;
    QPushButton* changeSms_ = nullptr;
    QLineEdit* channelTest_ = nullptr;
    QCheckBox* smsDisarm_ = nullptr;
    OutputMatrix* matrix_ = nullptr;
};

} // namespace tesmira::ui
