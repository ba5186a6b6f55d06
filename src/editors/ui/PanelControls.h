// Controls both panel editors build alike: the buzzer list and the RS-485 network number row.
#pragma once

class QComboBox;
class QWidget;

namespace tesmira::ui {

class UpDownField;

// "bxBuzzer" with the buzzer items; the record stores each item's code.
QComboBox* BuzzerBox();

// "wgtNetNum": the label "Сетевой" over "номер" and the up-down "udNetNum" (min..max), which is
// handed out in `field`.
QWidget* NetworkNumberRow(int min, int max, UpDownField*& field);

} // namespace tesmira::ui
