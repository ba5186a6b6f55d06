// The output matrix on an editor page: 48 check boxes over BoxFieldState, the arming condition
// group and the factory reset button.
#pragma once

#include "model/BoxFieldState.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <span>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace tesmira::ui {

// Not a control itself: it is owned by the editor and builds its controls into a frame on the
// given page (object name "wgtBoxField"; added to the page's layout when it has one, else placed
// at the page's top left). Controls: "chkBox1".."chkBox48" (dynamic property "tag" = 1..48),
// "lblRow0".."lblRow7", "lblColumn1".."lblColumn6", "grpArmCondition" with "rbArmAny" and
// "rbArmAll", "btnReset".
class OutputMatrix : public QObject {
    Q_OBJECT
public:
    OutputMatrix(QObject* ownerEditor, QWidget* page);

    void LoadMatrix(std::span<const std::uint8_t, BoxFieldState::kColumns> outputs,
                    std::uint8_t armingCondition);
    // Shows the state; runs no click handler.
    void RefreshMatrix();

    // Read back by the owning editor when it commits.
    const BoxFieldState::Outputs& OutputBytes() const { return state_.OutputBytes(); }
    std::uint8_t ArmingCondition() const { return state_.ArmingCondition(); }
    const BoxFieldState& State() const { return state_; }

    QWidget* Widget() const { return frame_; }
    QCheckBox* Box(int tag) const;

private:
    void BuildMatrix();
    void BuildConditionGroup();
    void BoxClicked(int tag, bool checked);

    BoxFieldState state_;
    // The page may go before the owner editor; nothing is touched once it has.
    QPointer<QWidget> frame_;
    std::array<QCheckBox*, BoxFieldState::kBoxCount> boxes_{};
    QGroupBox* conditionGroup_ = nullptr;
    QRadioButton* armAny_ = nullptr;
    QRadioButton* armAll_ = nullptr;
    QPushButton* reset_ = nullptr;
};

} // namespace tesmira::ui
