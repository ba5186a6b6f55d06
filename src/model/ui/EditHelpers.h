// Control helpers every editor shares: silent check state, clamped number input, list filling.
#pragma once

#include <QStringList>

class QAbstractButton;
class QComboBox;
class QLineEdit;

namespace tesmira::ui {

// Sets the checked state without any handler running: neither `clicked` nor `toggled` of the
// button, nor `toggled` of the radio button it unchecks on the way, nor its button group.
void SetCheckedSilently(QAbstractButton* button, bool checked);

// Reads the edit as an integer in min..max: out-of-range text becomes the nearest limit and text
// that is no number becomes `fallback`, each written back into the edit; no message is shown.
int ReadClampedInt(QLineEdit* edit, int min, int max, int fallback);

// Replaces the items of the box with `texts`, in order.
void FillComboFromList(QComboBox* box, const QStringList& texts);

} // namespace tesmira::ui
