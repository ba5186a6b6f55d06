// The editor of the two-loop radio transmitters, device types 26 and 27: one tab of controls over
// the 13-byte record; the type picks the factory defaults.
#pragma once

#include "editors/RecordConfigs.h"
#include "gui/DeviceEditor.h"
#include "gui/ZoneRow.h"

#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QTabWidget;

namespace tesmira::ui {

class TwoLoopEditor : public DeviceEditor {
    Q_OBJECT
public:
    // `type` (TwoLoopRecord::kType26 or kType27) picks the defaults and is the initial DeviceType.
    TwoLoopEditor(LinkModule& link, std::uint8_t type, QWidget* parent = nullptr);

    void RecordToControls() override;

    const TwoLoopRecord::Bytes& RecordBytes() const { return config_.record.bytes(); }

private:
    // Control handlers: each stores what the user chose in the record at once.
    void onTxLetterChanged(int index);
    void onChannelCheckChanged(int index);
    void onLoopTypeChanged(int loop);
    void onLoopEventChanged(int loop);
    void onMonitorToggled(QCheckBox* box);
    void onGuardSoundClicked();
    void onUseBuzzerClicked();

    void BuildControls();
    QWidget* BuildLoops();
    QGroupBox* BuildTransmitter();
    QWidget* BuildOutputs();
    void ConnectHandlers();
    void ShowLoop(int loop);
    const ZoneRow& Loop(int loop) const { return loops_[static_cast<std::size_t>(loop - 1)]; }

    TwoLoopConfig config_;

    QTabWidget* pages_ = nullptr;
    QWidget* mainPage_ = nullptr;
    std::array<ZoneRow, TwoLoopRecord::kLoopCount> loops_{}; // cbbLoopType<n>, bxLoopEvent<n>
    QLineEdit* entryDelay_ = nullptr;
    QLineEdit* exitDelay_ = nullptr;
    QComboBox* letter_ = nullptr;
    QComboBox* alarmCount_ = nullptr;
    QComboBox* restoreCount_ = nullptr;
    QComboBox* channelCheck_ = nullptr;
    QCheckBox* sirenMonitor_ = nullptr;
    QCheckBox* lampMonitor_ = nullptr;
    QCheckBox* u2Monitor_ = nullptr;
    QCheckBox* guardSound_ = nullptr;
    QCheckBox* useBuzzer_ = nullptr;
};

} // namespace tesmira::ui
