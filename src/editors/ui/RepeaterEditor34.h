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

    QTabWidget* pages_ = nullptr;
    QWidget* mainPage_ = nullptr;
    QComboBox* transmission_ = nullptr;
    QLineEdit* systemNumber_ = nullptr;
    QComboBox* receiveLetter_ = nullptr;
    QLineEdit* siteChannelCheck_ = nullptr;
    SharedRepeaterControls shared_{};
    QPushButton* objectsButton_ = nullptr;
};

} // namespace tesmira::ui
