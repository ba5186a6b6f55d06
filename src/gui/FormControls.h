// Small builders and show helpers for editor forms: lists from the core's texts, labels, hints,
// a selection that may be none, and telling when the caret leaves an edit.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <string>
#include <string_view>

class QCheckBox;
class QComboBox;
class QEvent;
class QLabel;
class QLineEdit;
class QObject;
class QTabWidget;
class QWidget;

namespace tesmira {
struct CodedItem;
}

namespace tesmira::ui {

QStringList Texts(std::span<const std::string_view> texts);

// The control's tag (see Named), 0 when it has none.
int TagOf(const QObject* control);

QLabel* Label(const char* name, const QString& caption);
QCheckBox* Check(const char* name, const QString& caption, int tag = 0);

// The editor's page control "pgcConfig", filling the editor edge to edge.
QTabWidget* EditorPages(QWidget* editor);

// An edit as wide as a number of `digits` digits.
QLineEdit* NumberEdit(const char* name, int digits);

// A drop-down list with `items`, showing no selection until a record is shown. Each item carries
// its position as its code.
QComboBox* List(const char* name, std::span<const std::string_view> items);
// The same with items that carry their own codes.
QComboBox* List(const char* name, std::span<const CodedItem> items);

// The code the shown item carries; -1 while the list shows none.
int ItemCodeOf(const QComboBox* box);

// A value outside the list's items shows no selection rather than a neighbour. Emits no
// `activated`, so no handler runs.
void Select(QComboBox* box, std::optional<int> index);

// What the user sees typed in a line edit or an editable list. A masked edit's unfilled
// positions count as blanks, and blanks around the text are not part of it.
std::string TypedText(const QWidget* control);

// Shows `text` in a line edit, or in an editable list: as the list's own item when it has one
// of that text, else typed in.
void ShowTyped(QWidget* control, const QString& text);
// Shows a stored value in an editable list: the item that carries `code`, else `text` typed in.
void ShowCoded(QComboBox* box, int code, const QString& text);

// The hint of a control, shown as its tool tip and on the status line.
void SetHint(QWidget* control, const QString& hint);

// Focus moving to another control. A context menu over the control, or the user switching to
// another window, is no leaving: the caret is still there when they come back.
bool LeavesControl(const QEvent& event);

} // namespace tesmira::ui
