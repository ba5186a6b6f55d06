// The editor of device type 26: the two-loop transmitter editor with the type's code and defaults.
#pragma once

#include "editors/ui/TwoLoopForm.h"

namespace tesmira::ui {

class TDev_026 : public TwoLoopForm {
    Q_OBJECT
public:
    explicit TDev_026(QWidget* parent = nullptr);
};

} // namespace tesmira::ui
