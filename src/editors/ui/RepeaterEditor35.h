// The editor of the type 35 radio repeater (two zones of its own, 32 objects, RS-485): tabs
// "Основное", "Шлейфы" and "Передача" over the 116-byte record, and the objects window for its
// transmitter entries.
#pragma once

#include "editors/RepeaterRecord35.h"
#include "editors/ui/RepeaterWidgets.h"
#include "gui/DeviceEditor.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace tesmira::ui {

class EventBox;
class ObjectsWindow;

class RepeaterEditor35 : public DeviceEditor {
    Q_OBJECT
public:
    explicit RepeaterEditor35(LinkModule& link, QWidget* parent = nullptr);

    void SetDefaults() override;
    bool LoadFromReply() override;
    void WriteToDevice() override;
    void SaveToFile(const QString& fileName) override;
    void LoadFromFile(ConfigFile& reader) override;
    void RecordToControls() override;
    void CommitEdit() override;

    const RepeaterRecord35::Bytes& RecordBytes() const { return record_.bytes(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Tells the main window, queued, that this editor is going.
    void OnClosing() override;

private:
    using ChannelCheck = RepeaterRecord35::ChannelCheck;
    using Delay = RepeaterRecord35::Delay;

    void onTransmissionModeChosen(int index);
    void onChannelCheckEdited(ChannelCheck check);
    void onZoneTypeChosen(QComboBox* box);
    void onZoneEventChosen(EventBox* box);
    void onDelayEdited(Delay delay);
    void onObjectsClicked();
    // The edit or editable list whose typed value a leaving or a commit stores; false for others.
    bool StoreTypedValue(const QObject* control);

    void ShowTransmitLetters(const RepeaterRecord35::TransmitLetters& letters);
    void ShowChannelCheck(ChannelCheck check, const QString& text);
    void ShowZone(int zone);
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

    RepeaterRecord35 record_;
    ObjectsWindow* objects_ = nullptr; // a child: freed with the editor
    bool objectsClosedOnce_ = false;

    QTabWidget* pgcConfig = nullptr;
    QComboBox* bxRetLiterRX = nullptr;
    QLabel* lblRetLiterTX = nullptr;
    QComboBox* bxRetLiterTX = nullptr;
    QComboBox* bxRetTxMode = nullptr;
    QCheckBox* chkRetTx485 = nullptr;
    QPushButton* btnRetObj = nullptr;
    SharedRepeaterControls shared_{};
    QCheckBox* chkRetActivateRele = nullptr;
    QCheckBox* chkStavelDelay = nullptr;
    QComboBox* cbbStavelCheck = nullptr;
    QComboBox* cbbObjCheck = nullptr;
    QComboBox* cbbRetShlfType[RepeaterRecord35::kZoneCount] = {};
    EventBox* bxShlfEvent[RepeaterRecord35::kZoneCount] = {};
    QLineEdit* edtRetDelIn = nullptr;
    QLineEdit* edtRetDelOut = nullptr;
    QCheckBox* chkLockAlrm = nullptr;
    QCheckBox* chkCNC_TxGSM = nullptr;
};

} // namespace tesmira::ui
