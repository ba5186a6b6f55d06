#include "editors/ui/TransmitterNumberDialog.h"

#include "editors/ui/RepeaterWidgets.h"
#include "gui/Dialogs.h"
#include "gui/EditHelpers.h"
#include "gui/FormControls.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tesmira::ui {

namespace {

constexpr int kNumberFontPixels = 21;

QLineEdit* NumberField(const char* name, std::string_view hint) {
    auto* field = Named(new QLineEdit, name);
    SetHint(field, FromUtf8(hint));
    field->setFont(FixedPitchFont(-kNumberFontPixels));
    return field;
}

void ApplyFormat(QLineEdit* field, const NumberFieldFormat& format) {
    field->setInputMask(FromUtf8(format.inputMask));
    field->setMaxLength(format.maxLength);
}

} // namespace

TransmitterNumberDialog::TransmitterNumberDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("TransmitterNumberDialog"));
    setWindowTitle(FromUtf8(kNumberDialogCaption));
    setFixedSize(kClientWidth, kClientHeight);
    BuildControls();
}

TransmitterEntry TransmitterNumberDialog::EditNumber(const TransmitterEntry& entry) {
    edit_.emplace(entry);
    result_ = edit_->Given();
    SetCheckedSilently(objectTypes_->button(edit_->ObjectTypeIndex()), true);
    ShowNotations(edit_->Shown());
    edtHex->setFocus();
    exec();
    edit_.reset();
    return result_;
}

void TransmitterNumberDialog::reject() {
    onDone();
}

void TransmitterNumberDialog::onDone() {
    if (!edit_) {
        QDialog::reject();
        return;
    }
    // Esc leaves no field, so the number still being typed is converted here; a refused text
    // keeps the dialog open once, with the error shown and the number it kept.
    QWidget* focused = focusWidget();
    if ((focused == edtHex || focused == medtPCN || focused == medtBtn) && !LeaveField(focused))
        return;
    result_ = edit_->Accept();
    accept();
}

// EditNumber preset the result to the given entry.
void TransmitterNumberDialog::closeEvent(QCloseEvent* event) {
    done(QDialog::Rejected);
    event->accept();
}

void TransmitterNumberDialog::ShowNotations(const Notations& shown) {
    edtHex->setText(QString::fromStdString(shown.hex));
    medtPCN->setText(QString::fromStdString(shown.station));
    medtBtn->setText(QString::fromStdString(shown.button));
}

bool TransmitterNumberDialog::LeaveField(QObject* field) {
    if (!edit_)
        return true;
    if (field == medtPCN) {
        // The displayed text keeps the blanks in place, so each group is read where it stands.
        ShowNotations(edit_->LeaveStationField(medtPCN->displayText().toStdString()));
        return true;
    }
    try {
        const auto shown = field == edtHex ? edit_->LeaveHexField(edtHex->text().toStdString())
                                           : edit_->LeaveButtonField(medtBtn->text().toStdString());
        if (shown)
            ShowNotations(*shown);
        return true;
    } catch (const NumberConversionError& error) {
        Dialogs::showError(this, QString::fromUtf8(error.what()));
        ShowNotations(edit_->Shown());
        return false;
    }
}

// Typed characters only: shortcuts such as Ctrl+V, and keys without text, pass.
bool TransmitterNumberDialog::FilterHexKey(const QEvent& event) {
    const auto& key = static_cast<const QKeyEvent&>(event);
    const QString text = key.text();
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier) ||
        text.size() != 1 || !text[0].isPrint())
        return false;
    const auto passed = tesmira::FilterHexKey(text[0].unicode());
    if (passed && *passed == text[0].unicode())
        return false;
    if (passed)
        edtHex->insert(QString(QChar(static_cast<char16_t>(*passed))));
    return true;
}

bool TransmitterNumberDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edtHex && event->type() == QEvent::KeyPress && FilterHexKey(*event))
        return true;
    if (LeavesControl(*event) && (watched == edtHex || watched == medtPCN || watched == medtBtn))
        LeaveField(watched);
    return QDialog::eventFilter(watched, event);
}

void TransmitterNumberDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        // Under this focus reason leaving a field stores nothing: a number typed into another
        // field before the user switched windows is stored first, not lost.
        if (QWidget* focused = focusWidget(); focused == medtPCN || focused == medtBtn)
            LeaveField(focused);
        edtHex->setFocus(Qt::ActiveWindowFocusReason);
        edtHex->selectAll();
    }
    QDialog::changeEvent(event);
}

void TransmitterNumberDialog::BuildControls() {
    rgObjType = Named(new QGroupBox(FromUtf8(kObjectTypeGroupCaption)), "rgObjType");
    objectTypes_ = new QButtonGroup(this);
    auto* items = new QVBoxLayout(rgObjType);
    items->setContentsMargins(6, 2, 6, 2);
    items->setSpacing(0);
    int id = 0;
    for (const std::string_view text : ObjectTypeTexts()) {
        auto* item = new QRadioButton(FromUtf8(text));
        item->setObjectName(QStringLiteral("rbObjType%1").arg(id));
        objectTypes_->addButton(item, id++);
        items->addWidget(item);
    }
    connect(objectTypes_, &QButtonGroup::idClicked, this, [this](int index) {
        if (edit_)
            edit_->SetObjectTypeIndex(index);
    });

    edtHex = NumberField("edtHex", kHexFieldHint);
    medtPCN = NumberField("medtPCN", kStationFieldFormat.hint);
    ApplyFormat(medtPCN, kStationFieldFormat);
    medtBtn = NumberField("medtBtn", kButtonFieldFormat.hint);
    ApplyFormat(medtBtn, kButtonFieldFormat);
    for (QLineEdit* field : {edtHex, medtPCN, medtBtn})
        field->installEventFilter(this);
    btnOK = Named(new QPushButton(FromUtf8(kNumberDialogDoneCaption)), "btnOK");
    connect(btnOK, &QPushButton::clicked, this, &TransmitterNumberDialog::onDone);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(4);
    grid->addWidget(rgObjType, 0, 0, 4, 1);
    grid->addWidget(edtHex, 0, 1);
    grid->addWidget(medtPCN, 1, 1);
    grid->addWidget(medtBtn, 2, 1);
    grid->addWidget(btnOK, 3, 1, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    setTabOrder(objectTypes_->button(0), edtHex);
    setTabOrder(edtHex, medtPCN);
    setTabOrder(medtPCN, medtBtn);
    setTabOrder(medtBtn, btnOK);
}

} // namespace tesmira::ui
