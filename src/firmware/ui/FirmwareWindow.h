// The window that loads a firmware file and sends its image to the device, showing
// the progress and the outcome.
#pragma once

#include "firmware/UpdateState.h"

#include <QString>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <optional>

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tesmira {
class LinkModule;
}

namespace tesmira::ui {

class FirmwareWindow : public QWidget {
    Q_OBJECT

public:
    // Frees itself when closed. `link` must outlive the window.
    explicit FirmwareWindow(LinkModule& link, QWidget* parent = nullptr);
    // Stops a transfer that still runs (the main window is being torn down).
    ~FirmwareWindow() override;

    QPushButton* btnOpenFile = nullptr;
    QLineEdit* edtUpdFileName = nullptr;
    QPushButton* btnUpdate = nullptr;
    QProgressBar* pbUpdate = nullptr;
    QPushButton* btExit = nullptr;

    bool Updating() const { return state_.Updating(); }

    // Whether the window (or the program) may be left now. During a transfer the user is asked
    // first (default No); Yes stops the transfer and says that the update was interrupted. False
    // for No, and when the transfer ends while the question is open: its outcome is shown then,
    // and the user decides anew.
    bool ConfirmLeave();

signals:
    // True once a transfer has started, false when it has ended, also when the window is left
    // during it. The main window keeps its device commands disabled in between.
    void transferRunning(bool running);

public slots:
    void chooseFile();
    void startUpdate();
    // Leaves the window; a transfer that still runs is stopped first.
    void leave();
    // The reports of this window's transfer (codes of ExchangeReport).
    void onExchangeReport(int code, int arg);

protected:
    // Only leave() closes the window: a close asked for otherwise is refused.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    // Puts the named file's image into the transmit buffer; its length, or nothing once the user
    // has been told why not.
    std::optional<std::size_t> PutImage(const QString& fileName);
    // Starts the firmware exchange over the image of `length` bytes in the transmit buffer.
    void startTransfer(std::size_t length);
    void ShowState();

    LinkModule& link_;
    FirmwareUpdateState state_;
    bool leaving_ = false;
    bool placed_ = false;
    // Counts the transfers, so that a report of an earlier one is never taken for the current.
    std::uint64_t transfer_ = 0;
};

} // namespace tesmira::ui
