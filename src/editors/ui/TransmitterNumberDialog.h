// The transmitter number dialog: one transmitter entry edited in any of the three notations of its
// number, with its object type.
#pragma once

#include "editors/TransmitterEntry.h"

#include <QDialog>

#include <optional>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace tesmira::ui {

// A fixed-size modal dialog without caption buttons; "Готово" and Esc both end it with the edited
// entry. The caller places it before EditNumber.
class TransmitterNumberDialog : public QDialog {
    Q_OBJECT
public:
    explicit TransmitterNumberDialog(QWidget* parent = nullptr);

    // Shows the dialog modally for `entry`; the edited entry, or `entry` itself when the dialog
    // was closed otherwise than by "Готово" or Esc.
    TransmitterEntry EditNumber(const TransmitterEntry& entry);

    static constexpr int kClientWidth = 307;
    static constexpr int kClientHeight = 134;

public slots:
    void reject() override; // Esc: the same as "Готово"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    // A close by the window system (Alt+F4) is no "Готово": the given entry stays.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void ShowNotations(const Notations& shown);
    // The conversion of a number field being left. False when its text was refused (the error
    // box has been shown and the fields show the number kept).
    bool LeaveField(QObject* field);
    bool FilterHexKey(const QEvent& event);
    void onDone();

    std::optional<TransmitterNumberEdit> edit_;
    TransmitterEntry result_{};

    QGroupBox* rgObjType = nullptr;
    QButtonGroup* objectTypes_ = nullptr;
    QLineEdit* edtHex = nullptr;
    QLineEdit* medtPCN = nullptr;
    QLineEdit* medtBtn = nullptr;
    QPushButton* btnOK = nullptr;
};

} // namespace tesmira::ui
