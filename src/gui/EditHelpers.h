// Control helpers every editor shares: silent check state, clamped number input, list filling.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <string_view>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace tesmira::ui {

// Sets the checked state without any handler running: neither `clicked` nor `toggled` of the
// button, nor `toggled` of the radio button it unchecks on the way, nor its button group.
void SetCheckedSilently(QAbstractButton* button, bool checked);

// Reads the edit as an integer in min..max: out-of-range text becomes the nearest limit and text
// that is no number becomes `fallback`, each written back into the edit; no message is shown.
int ReadClampedInt(QLineEdit* edit, int min, int max, int fallback);

// Replaces the items of the box with `texts`, in order.
void FillComboFromList(QComboBox* box, const QStringList& texts);

// Adds `child` to `area` as a child window without frame or frame buttons, so only the program
// closes it; the frame is freed when closed. Returns the frame.
QMdiSubWindow* AddFramelessChild(QMdiArea* area, QWidget* child);
// The same with a title bar that shows the child's caption and holds no buttons.
QMdiSubWindow* AddCaptionedChild(QMdiArea* area, QWidget* child);

// A file name from a dialog as a path for the core's file code.
std::filesystem::path FilePath(const QString& name);

// A UTF-8 text of the core as a QString.
inline QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The dynamic property that carries a control's tag.
inline constexpr const char* kTagProperty = "tag";

// Gives a new control its object name (by which windows and tests find it) and, when not 0, its
// tag; returns the control.
template <class Control> Control* Named(Control* control, const char* name, int tag = 0) {
    control->setObjectName(QString::fromLatin1(name));
    if (tag != 0)
        control->setProperty(kTagProperty, tag);
    return control;
}

} // namespace tesmira::ui
