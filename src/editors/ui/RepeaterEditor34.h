// The editor of the type 34 radio repeater (one receive letter, 14 objects): one tab of controls
// over the 55-byte record, and the objects window for its transmitter entries.
#pragma once

#include "editors/RepeaterRecord34.h"
#include "editors/ui/RepeaterWidgets.h"
#include "gui/DeviceEditor.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace tesmira::ui {

class ObjectsWindow;

class RepeaterEditor34 : public DeviceEditor {
    Q_OBJECT
public:
    explicit RepeaterEditor34(LinkModule& link, QWidget* parent = nullptr);

    void SetDefaults() override;
    bool LoadFromReply() override;
    void WriteToDevice() override;
    void SaveToFile(const QString& fileName) override;
    void LoadFromFile(ConfigFile& reader) override;
    void RecordToControls() override;
    void CommitEdit() override;

    const RepeaterRecord34::Bytes& RecordBytes() const { return record_.bytes(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onSystemNumberEdited();
    void onChannelCheckEdited();
    void onObjectsClicked();

    void BuildControls();
    void ConnectHandlers();

    RepeaterRecord34 record_;
    ObjectsWindow* objects_ = nullptr; // a child: freed with the editor

    QTabWidget* pgcConfig = nullptr;
    QWidget* tsMain = nullptr;
    QComboBox* cbbTxMode = nullptr;
    QLineEdit* edtSysNum = nullptr;
    QComboBox* cbbRetLiterRX = nullptr;
    QLineEdit* edtRetObjCheck = nullptr;
    SharedRepeaterControls shared_{};
    QPushButton* btnRetObj = nullptr;
};

} // namespace tesmira::ui
