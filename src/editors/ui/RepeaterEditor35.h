// The editor of the type 35 radio repeater (two zones of its own, 32 objects, RS-485): tabs
// "Основное", "Шлейфы" and "Передача" over the 116-byte record, and the objects window for its
// transmitter entries.
#pragma once

#include "editors/RecordConfigs.h"
#include "editors/ui/RepeaterWidgets.h"
#include "gui/DeviceEditor.h"
#include "gui/ZoneRow.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace tesmira::ui {

class ObjectsWindow;

class RepeaterEditor35 : public DeviceEditor {
    Q_OBJECT
public:
    explicit RepeaterEditor35(LinkModule& link, QWidget* parent = nullptr);

    void RecordToControls() override;

    const RepeaterRecord35::Bytes& RecordBytes() const { return config_.record.bytes(); }

protected:
    // Tells the main window, queued, that this editor is going.
    void OnClosing() override;

private:
    using ChannelCheck = RepeaterRecord35::ChannelCheck;
    using Delay = RepeaterRecord35::Delay;

    void onTransmissionModeChosen(int index);
    void onZoneTypeChosen(int zone);
    void onZoneEventChosen(int zone);
    void onObjectsClicked();

    void ShowTransmitLetters(const RepeaterRecord35::TransmitLetters& letters);
    void ShowZone(int zone);
    const ZoneRow& Zone(int zone) const { return zones_[static_cast<std::size_t>(zone - 1)]; }
    void ShowObjectsCaption();
    QComboBox* ChannelCheckBox(ChannelCheck check) const;
    QLineEdit* DelayEdit(Delay delay) const;

    void BuildControls();
    QWidget* BuildMainPage();
    QGroupBox* BuildTransmitGroup();
    QWidget* BuildChannelChecks();
    QWidget* BuildLoopsPage();
    QWidget* BuildTransferPage();
    void ConnectHandlers();

    RepeaterConfig35 config_;
    ObjectsWindow* objects_ = nullptr; // a child: freed with the editor
    bool objectsClosedOnce_ = false;

    QTabWidget* pages_ = nullptr;
    QComboBox* receiveLetter_ = nullptr;
    QLabel* transmitLetterLabel_ = nullptr;
    QComboBox* transmitLetter_ = nullptr;
    QComboBox* transmissionMode_ = nullptr;
    QCheckBox* rs485_ = nullptr;
    QPushButton* objectsButton_ = nullptr;
    SharedRepeaterControls shared_{};
    QCheckBox* activateRelays_ = nullptr;
    QCheckBox* stavelDelay_ = nullptr;
    QComboBox* stavelChannelCheck_ = nullptr;
    QComboBox* siteChannelCheck_ = nullptr;
    std::array<ZoneRow, RepeaterRecord35::kZoneCount> zones_{}; // cbbRetShlfType<n>, bxShlfEvent<n>
    QLineEdit* entryDelay_ = nullptr;
    QLineEdit* exitDelay_ = nullptr;
    QCheckBox* lockAfterAlarm_ = nullptr;
    QCheckBox* communicatorConnected_ = nullptr;
};

} // namespace tesmira::ui
