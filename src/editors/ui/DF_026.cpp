#include "editors/ui/DF_026.h"

namespace tesmira::ui {

TDev_026::TDev_026(QWidget* parent) : TwoLoopForm(TwoLoopRecord::kType26, parent) {}

} // namespace tesmira::ui
