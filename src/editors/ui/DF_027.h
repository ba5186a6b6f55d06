// The editor of device type 27: the two-loop transmitter editor with the type's code and defaults.
#pragma once

#include "editors/ui/TwoLoopForm.h"

namespace tesmira::ui {

class TDev_027 : public TwoLoopForm {
    Q_OBJECT
public:
    explicit TDev_027(QWidget* parent = nullptr);
};

} // namespace tesmira::ui
