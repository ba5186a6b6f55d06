#include "gui/UpDownField.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>

namespace tesmira::ui {

UpDownField::UpDownField(int min, int max, QWidget* parent)
    : QAbstractSpinBox(parent), min_(min), max_(max), value_(min) {
    lineEdit()->setReadOnly(true);
    ShowValue(min);
}

void UpDownField::ShowValue(int value) {
    value_ = value;
    const bool wider = QString::number(value).size() > lineEdit()->text().size();
    lineEdit()->setText(QString::number(value));
    if (wider)
        updateGeometry();
    update();
}

QSize UpDownField::sizeHint() const {
    ensurePolished();
    int width = 0;
    for (const int shown : {min_, max_, value_})
        width = std::max(width, fontMetrics().horizontalAdvance(QString::number(shown) + u' '));
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    // Two pixels for the caret, as the spin boxes of the toolkit leave.
    const QSize text(width + 2, lineEdit()->sizeHint().height());
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, text, this);
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
