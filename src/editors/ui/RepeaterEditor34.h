// The editor of the type 34 radio repeater (one receive letter, 14 objects): one tab of controls
// over the 55-byte record, and the objects window for its transmitter entries.
#pragma once

#include "editors/RecordConfigs.h"
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

    void RecordToControls() override;

    const RepeaterRecord34::Bytes& RecordBytes() const { return config_.record.bytes(); }

private:
    void onObjectsClicked();

    void BuildControls();
    void ConnectHandlers();

    RepeaterConfig34 config_;
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
