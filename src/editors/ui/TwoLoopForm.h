// The editor window of the two-loop transmitter devices: one tab of controls over the 13-byte
// record, shared by the type 26 and type 27 editors.
#pragma once

#include "editors/TwoLoopRecord.h"
#include "model/ui/DF_000.h"

#include <cstdint>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QTabWidget;

namespace tesmira::ui {

class TComboboxEvent;

class TwoLoopForm : public TDeviceForm {
    Q_OBJECT
public:
    void SetDefaults() override;
    bool LoadFromReply() override;
    void WriteToDevice() override;
    void SaveToFile(const QString& fileName) override;
    void LoadFromFile(ConfigFile& reader) override;
    void RecordToControls() override;
    void CommitEdit() override;

    const TwoLoopRecord::Bytes& RecordBytes() const { return record_.bytes(); }

protected:
    // `type` picks the defaults and is the initial DeviceType.
    TwoLoopForm(std::uint8_t type, QWidget* parent);

    bool eventFilter(QObject* watched, QEvent* event) override;

    // Control handlers: each stores what the user chose in the record at once.
    void bxTxLetterChange(int index);
    void bxTxAlarmCntChange();
    void bxTxNormCntChange();
    void bxTxTOChange(int index);
    void ShlfTypeChange(QComboBox* box);
    void ShlfEventChange(TComboboxEvent* box);
    void edtRetDelInExit();
    void edtRetDelOutExit();
    void OpCntrToggle(QCheckBox* box);
    void chkGuardSndClick();
    void chkUseBuzzerClick();

private:
    void BuildControls();
    QWidget* BuildLoops();
    QGroupBox* BuildDelays();
    QGroupBox* BuildTransmitter();
    QWidget* BuildOutputs();
    void ConnectHandlers();
    void ShowLoop(int loop);
    void ExitDelayEdit(QLineEdit* edit, TwoLoopRecord::Delay delay);

    TwoLoopRecord record_;

    QTabWidget* pgcConfig = nullptr;
    QWidget* tsMain = nullptr;
    QComboBox* cbbLoopType[2] = {};
    TComboboxEvent* bxLoopEvent[2] = {};
    QLineEdit* edtRetDelIn = nullptr;
    QLineEdit* edtRetDelOut = nullptr;
    QComboBox* bxTxLetter = nullptr;
    QComboBox* bxTxAlarmCnt = nullptr;
    QComboBox* bxTxNormCnt = nullptr;
    QComboBox* bxTxTO = nullptr;
    QCheckBox* chkExpBox6 = nullptr;
    QCheckBox* chkExpBox7 = nullptr;
    QCheckBox* chkU2 = nullptr;
    QCheckBox* chkGuardSnd = nullptr;
    QCheckBox* chkUseBuzzer = nullptr;
};

} // namespace tesmira::ui
