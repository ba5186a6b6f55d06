// What the firmware window shows while its transfer runs and after it ends, driven by the
// exchange's reports.
#pragma once

#include "link/Exchange.h"

namespace tesmira {

// The box a report ends a transfer with.
enum class UpdateOutcome {
    None,       // the transfer goes on, or the report was not for it
    Updated,    // "Прошивка обновлена"
    PortFailed, // "Невозможно открыть порт"
    NoAnswer,   // "Устройство не отвечает"
};

class FirmwareUpdateState {
public:
    static constexpr int kDone = 100;

    // A transfer starts: the buttons are disabled until its final report. The bar keeps what it
    // showed until the port is open.
    void Start();

    // Applies one report of the running transfer. Reports that come when no transfer runs (a
    // progress value queued behind the final report) change nothing.
    UpdateOutcome Report(ExchangeReport code, int arg);

    // The transfer was given up without a final report (the window is left during it).
    void Abandon() { updating_ = false; }

    bool Updating() const { return updating_; }
    bool BarVisible() const { return barVisible_; }
    int Position() const { return position_; }

private:
    bool updating_ = false;
    bool barVisible_ = false;
    int position_ = 0;
};

} // namespace tesmira
