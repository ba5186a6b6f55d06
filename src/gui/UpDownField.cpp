#include "gui/UpDownField.h"

#include <QLineEdit>

#include <algorithm>

namespace tesmira::ui {

UpDownField::UpDownField(int min, int max, QWidget* parent)
    : QAbstractSpinBox(parent), min_(min), max_(max), value_(min) {
    lineEdit()->setReadOnly(true);
    ShowValue(min);
}

void UpDownField::ShowValue(int value) {
    value_ = value;
    lineEdit()->setText(QString::number(value));
    update();
}

void UpDownField::stepBy(int steps) {
    const int next = std::clamp(value_ + steps, min_, max_);
    if (next == value_)
        return;
    ShowValue(next);
    emit stepped(next);
}

QAbstractSpinBox::StepEnabled UpDownField::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (value_ < max_)
        enabled |= StepUpEnabled;
    if (value_ > min_)
        enabled |= StepDownEnabled;
    return enabled;
}

} // namespace tesmira::ui
