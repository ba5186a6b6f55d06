#include "gui/OutputMatrix.h"

#include "gui/EditHelpers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tesmira::ui {

OutputMatrix::OutputMatrix(QObject* ownerEditor, QWidget* page) : QObject(ownerEditor) {
    frame_ = new QWidget(page);
    frame_->setObjectName(QStringLiteral("wgtBoxField"));
    BuildMatrix();
    BuildConditionGroup();

    reset_ = new QPushButton(QStringLiteral("Сброс установок"), frame_);
    reset_->setObjectName(QStringLiteral("btnReset"));
    reset_->setToolTip(QStringLiteral("Сбросить к заводским настройкам"));
    reset_->setStatusTip(QStringLiteral("Сбросить к заводским настройкам"));
    connect(reset_, &QPushButton::clicked, this, [this] {
        state_.ResetToFactory();
        RefreshMatrix();
    });

    auto* grid = static_cast<QGridLayout*>(frame_->layout());
    const int below = BoxFieldState::kRows + 1;
    grid->addWidget(conditionGroup_, below, 0, 1, BoxFieldState::kColumns + 1);
    grid->addWidget(reset_, below + 1, 0, 1, BoxFieldState::kColumns + 1, Qt::AlignLeft);

    if (page != nullptr && page->layout() != nullptr) {
        page->layout()->addWidget(frame_);
    } else {
        // Nothing resizes a frame placed by hand: let it follow its contents, which grow when
        // the condition group shows.
        grid->setSizeConstraint(QLayout::SetFixedSize);
    }
    RefreshMatrix();
}

void OutputMatrix::BuildMatrix() {
    auto* grid = new QGridLayout(frame_);
    for (int column = 1; column <= BoxFieldState::kColumns; ++column) {
        auto* label = new QLabel(FromUtf8(BoxFieldState::kColumnLabels[column - 1]), frame_);
        label->setObjectName(QStringLiteral("lblColumn%1").arg(column));
        grid->addWidget(label, 0, column, Qt::AlignHCenter);
    }
    for (int row = 0; row < BoxFieldState::kRows; ++row) {
        auto* label = new QLabel(FromUtf8(BoxFieldState::kRowLabels[row]), frame_);
        label->setObjectName(QStringLiteral("lblRow%1").arg(row));
        grid->addWidget(label, row + 1, 0);
        for (int column = 1; column <= BoxFieldState::kColumns; ++column) {
            const int tag = BoxFieldState::TagOf(row, column);
            auto* box = new QCheckBox(frame_);
            box->setObjectName(QStringLiteral("chkBox%1").arg(tag));
            box->setProperty("tag", tag);
            connect(box, &QCheckBox::clicked, this,
                    [this, tag](bool checked) { BoxClicked(tag, checked); });
            grid->addWidget(box, row + 1, column, Qt::AlignHCenter);
            boxes_[tag - 1] = box;
        }
    }
}

void OutputMatrix::BuildConditionGroup() {
    conditionGroup_ = new QGroupBox(QStringLiteral("Прибор считается взят если ..."), frame_);
    conditionGroup_->setObjectName(QStringLiteral("grpArmCondition"));
    armAny_ = new QRadioButton(QStringLiteral("взят любой из разделов"), conditionGroup_);
    armAny_->setObjectName(QStringLiteral("rbArmAny"));
    armAll_ = new QRadioButton(QStringLiteral("взяты все разделы"), conditionGroup_);
    armAll_->setObjectName(QStringLiteral("rbArmAll"));
    auto* layout = new QVBoxLayout(conditionGroup_);
    layout->addWidget(armAny_);
    layout->addWidget(armAll_);
    connect(armAny_, &QRadioButton::clicked, this,
            [this] { state_.SetArmingCondition(BoxFieldState::kAnyPartitionArmed); });
    connect(armAll_, &QRadioButton::clicked, this,
            [this] { state_.SetArmingCondition(BoxFieldState::kAllPartitionsArmed); });
}

void OutputMatrix::BoxClicked(int tag, bool checked) {
    state_.SetBox(tag, checked);
    RefreshMatrix();
}

void OutputMatrix::LoadMatrix(std::span<const std::uint8_t, BoxFieldState::kColumns> outputs,
                              std::uint8_t armingCondition) {
    state_.Load(outputs, armingCondition);
    RefreshMatrix();
}

void OutputMatrix::RefreshMatrix() {
    if (frame_.isNull()) {
        return;
    }
    for (int tag = 1; tag <= BoxFieldState::kBoxCount; ++tag) {
        SetCheckedSilently(boxes_[tag - 1], state_.BoxChecked(tag));
    }
    SetCheckedSilently(state_.AllPartitionsRequired() ? armAll_ : armAny_, true);
    conditionGroup_->setVisible(state_.ConditionGroupVisible());
}

QCheckBox* OutputMatrix::Box(int tag) const {
    return !frame_.isNull() && BoxFieldState::TagIsValid(tag) ? boxes_[tag - 1] : nullptr;
}

} // namespace tesmira::ui
