// Filling a zone-type box with one of the four zone-type subsets, each name with its picture.
#pragma once

#include <cstdint>

class QComboBox;

namespace tesmira::ui {

// Selectors 0..3 replace the items with the offered types, captioned with their names and showing
// the picture of their code from ListImages(); any other selector leaves the box untouched.
// Each item carries its type code (ItemCodeOf).
void FillZoneTypeBox(QComboBox* box, std::uint8_t selector);

} // namespace tesmira::ui
