// Driving editor forms in widget tests: finding controls by name, user-like input (picking from
// a closed list by keyboard, clicking a check box, typing into an edit and leaving it), and
// reading back the files a form saved.
#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tesmira::test {

// The control of that name and class; ends the test program when the form has none, since every
// later step would only fail less clearly.
template <class T> T* FindControl(QWidget& form, const char* name) {
    auto* control = form.findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr)
        qFatal("the form has no control %s", name);
    return control;
}

// The whole file; empty when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
// Writes `bytes` as the whole file and returns its path as the file dialogs give it.
QString WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// Home, then Down until the item with `text` is current, as a user does on a closed list; each
// key that moves the selection emits `activated`. False when the list has no such item.
bool PickByKeys(QComboBox* box, const QString& text);

// A left click on the box's indicator.
void ClickCheckBox(QCheckBox* box);

// Focuses the edit (its window must be active), replaces its text by typing `text`, and leaves
// it by Tab when `leave` is set.
void TypeInto(QLineEdit* edit, const QString& text, bool leave = true);

} // namespace tesmira::test
