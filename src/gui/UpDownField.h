// A number field with up and down arrows over a record byte: it shows the stored value as it is,
// also one outside its range, and changes only when the user steps it.
#pragma once

#include <QAbstractSpinBox>

namespace tesmira::ui {

// The text is not typed into; the arrows, the arrow keys and the wheel step the value within
// min..max. A stored value outside the range is shown unclamped, so showing a record never
// changes it; the first step brings it into the range.
class UpDownField : public QAbstractSpinBox {
    Q_OBJECT
public:
    UpDownField(int min, int max, QWidget* parent = nullptr);

    // Shows a stored value; emits nothing.
    void ShowValue(int value);
    int Value() const { return value_; }

    void stepBy(int steps) override;
    // Wide enough for the range and for the value shown, which QAbstractSpinBox cannot know.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // Only the user's steps; the new value is within the range.
    void stepped(int value);

protected:
    StepEnabled stepEnabled() const override;

private:
    int min_;
    int max_;
    int value_;
};

} // namespace tesmira::ui
