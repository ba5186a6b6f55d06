// The editor of the GSM communicator, device type 32: six tabs over the record, the phone, event
// and caption tables and the sound files stored on the device.
#pragma once

#include "gsm/GsmDeviceConfig.h"
#include "gui/DeviceEditor.h"

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;

namespace tesmira::ui {

class CaptionGrid;
class EventGrid;
class PhoneGrid;
class SoundFilesPage;

class GsmEditor : public DeviceEditor {
    Q_OBJECT
public:
    explicit GsmEditor(LinkModule& link, QWidget* parent = nullptr);

    // WriteToDevice refuses a configuration too large for one frame. It throws, as SaveToFile
    // does, when the edit with the caret holds a number that is no number (shown, the write not
    // started).
    void RecordToControls() override;

    const GsmConfig& config() const { return config_.gsm; }

    void OnExchangeReport(int code, int arg) override;

protected:
    // The phone and caption tables into the record and the caption block.
    void CollectControls() override;
    ConfigImage ShownImage() override { return config_.CommittedImage(); }
    void OnConfigReplaced() override;
    void OnWriteRefused() override;
    // An event's cell: its group is shown first.
    void ShowingField(const std::string& id) override;
    void FileCommandDone() override;

private:
    void onThresholdClicked(GsmRecord::Sim sim);
    void onEventFillChosen(int tag);
    void ShowBalance(GsmRecord::Sim sim);

    void BuildControls();
    QWidget* BuildMainTab();
    QWidget* BuildNamesTab();
    QWidget* BuildEventsTab();
    QWidget* BuildInternetTab();
    QWidget* BuildBalanceTab();
    QGroupBox* BuildSimGroup(GsmRecord::Sim sim);
    void ConnectHandlers();

    GsmDeviceConfig config_;

    QTabWidget* pages_ = nullptr;
    QLineEdit* deviceNumber_ = nullptr;
    QComboBox* inputFormat_ = nullptr;
    QCheckBox* optionBoxes_[GsmRecord::kOptionBitCount] = {};
    PhoneGrid* phoneGrid_ = nullptr;
    CaptionGrid* captionGrid_ = nullptr;
    EventGrid* eventGrid_ = nullptr;
    QPushButton* setEvents_ = nullptr;
    QMenu* setEventsMenu_ = nullptr;
    QComboBox* protocol_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* port_ = nullptr;
    QLineEdit* channelTest_ = nullptr;
    struct SimControls {
        QLineEdit* code = nullptr;
        QCheckBox* monthly = nullptr;
        QCheckBox* threshold = nullptr;
        QLabel* limitLabel = nullptr;
        QLineEdit* limit = nullptr;
    } sims_[2];
    SoundFilesPage* files_ = nullptr;
};

} // namespace tesmira::ui
