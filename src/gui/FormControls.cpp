#include "gui/FormControls.h"

#include "gui/EditHelpers.h"
#include "model/ValueRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tesmira::ui {

QStringList Texts(std::span<const std::string_view> texts) {
    QStringList list;
    for (const std::string_view text : texts)
        list.append(FromUtf8(text));
    return list;
}

int TagOf(const QObject* control) {
    return control->property(kTagProperty).toInt();
}

QLabel* Label(const char* name, const QString& caption) {
    return Named(new QLabel(caption), name);
}

QCheckBox* Check(const char* name, const QString& caption, int tag) {
    return Named(new QCheckBox(caption), name, tag);
}

QTabWidget* EditorPages(QWidget* editor) {
    auto* pages = Named(new QTabWidget(editor), "pgcConfig");
    auto* outer = new QVBoxLayout(editor);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(pages);
    return pages;
}

QLineEdit* NumberEdit(const char* name, int digits) {
    auto* edit = Named(new QLineEdit, name);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QString(digits + 1, '0')) + 12);
    return edit;
}

QComboBox* List(const char* name, std::span<const std::string_view> items) {
    auto* box = Named(new QComboBox, name);
    for (const std::string_view text : items)
        box->addItem(FromUtf8(text), box->count());
    box->setCurrentIndex(-1);
    return box;
}

QComboBox* List(const char* name, std::span<const CodedItem> items) {
    auto* box = Named(new QComboBox, name);
    for (const CodedItem& item : items)
        box->addItem(FromUtf8(item.text), int{item.code});
    box->setCurrentIndex(-1);
    return box;
}

int ItemCodeOf(const QComboBox* box) {
    return box->currentIndex() < 0 ? -1 : box->currentData().toInt();
}

void Select(QComboBox* box, std::optional<int> index) {
    box->setCurrentIndex(index.value_or(-1));
}

std::string TypedText(const QWidget* control) {
    if (const auto* list = qobject_cast<const QComboBox*>(control))
        return list->currentText().toStdString();
    const auto* edit = qobject_cast<const QLineEdit*>(control);
    if (edit == nullptr)
        return {};
    // A masked edit's text() drops its unfilled positions, so "12_4" would read as 124; inside
    // the shown text they are blanks, which no number holds.
    const QString mask = edit->inputMask();
    if (mask.isEmpty())
        return edit->text().toStdString();
    const qsizetype separator = mask.lastIndexOf(QLatin1Char(';'));
    const QChar blank =
        separator >= 0 && separator + 1 < mask.size() ? mask.at(separator + 1) : QLatin1Char(' ');
    QString shown = edit->displayText();
    shown.replace(blank, QLatin1Char(' '));
    return shown.trimmed().toStdString();
}

void ShowTyped(QWidget* control, const QString& text) {
    if (auto* list = qobject_cast<QComboBox*>(control)) {
        const int item = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        list->setCurrentIndex(item);
        if (item < 0)
            list->setEditText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
    }
}

void ShowCoded(QComboBox* box, int code, const QString& text) {
    const int item = box->findData(code);
    box->setCurrentIndex(item);
    if (item < 0)
        box->setEditText(text);
}

void SetHint(QWidget* control, const QString& hint) {
    control->setToolTip(hint);
    control->setStatusTip(hint);
}

bool LeavesControl(const QEvent& event) {
    if (event.type() != QEvent::FocusOut)
        return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent&>(event).reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

} // namespace tesmira::ui
