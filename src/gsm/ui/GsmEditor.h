// The editor of the GSM communicator, device type 32: six tabs over the record, the phone, event
// and caption tables and the sound files stored on the device.
#pragma once

#include "gsm/GsmConfig.h"
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

    void SetDefaults() override;
    bool LoadFromReply() override;
    // Refuses a configuration too large for one frame. Throws when the edit with the caret holds
    // a number that is no number (shown, the write not started).
    void WriteToDevice() override;
    void SaveToFile(const QString& fileName) override;
    void LoadFromFile(ConfigFile& reader) override;
    void RecordToControls() override;
    // Throws, with the record kept, when the edit with the caret holds no number where one must be.
    void CommitEdit() override;

    const GsmConfig& config() const { return config_; }

    void OnExchangeReport(int code, int arg) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void FileCommandDone() override;

private:
    // An edit whose leaving stores its text; `store` returns what the record made of it.
    struct TypedField {
        QLineEdit* edit;
        std::function<TypedInput(const std::string& text)> store;
        std::function<std::string()> shown;
    };

    // The handler of a typed field: the record's correction shown, or its error returned (the
    // field then shows the record's value again).
    std::optional<std::string> StoreTyped(const TypedField& field);
    const TypedField* FieldOf(const QObject* edit) const;
    void onThresholdClicked(GsmRecord::Sim sim);
    void onEventFillChosen(int tag);
    void ShowBalance(GsmRecord::Sim sim);
    void ShowTables();

    void BuildControls();
    QWidget* BuildMainTab();
    QWidget* BuildNamesTab();
    QWidget* BuildEventsTab();
    QWidget* BuildInternetTab();
    QWidget* BuildBalanceTab();
    QGroupBox* BuildSimGroup(GsmRecord::Sim sim);
    void ConnectHandlers();

    GsmConfig config_;
    std::vector<TypedField> typedFields_;
    const TypedField* typing_ = nullptr; // entered and not yet left
    bool showingRecord_ = false;         // RecordToControls runs: no handler stores anything

    QTabWidget* pgcConfig = nullptr;
    QLineEdit* medtDevNum = nullptr;
    QComboBox* cbbInputType = nullptr;
    QCheckBox* optionBoxes_[GsmRecord::kOptionBitCount] = {};
    PhoneGrid* phoneGrid_ = nullptr;
    CaptionGrid* captionGrid_ = nullptr;
    EventGrid* eventGrid_ = nullptr;
    QPushButton* btnSetEvents = nullptr;
    QMenu* pmSetEvents = nullptr;
    QComboBox* bxGPRSProtocol = nullptr;
    QLineEdit* edtGPRS_Addr = nullptr;
    QLineEdit* medtPortNum = nullptr;
    QLineEdit* edtGSM_ChTestTime = nullptr;
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
