#include "editors/ui/DF_027.h"

namespace tesmira::ui {

TDev_027::TDev_027(QWidget* parent) : TwoLoopForm(TwoLoopRecord::kType27, parent) {}

} // namespace tesmira::ui
