#include "gsm/ui/TypingGrid.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QSignalBlocker>

#include <algorithm>

namespace tesmira::ui {

int TypingGrid::SetColumns(std::initializer_list<Column> columns) {
    setColumnCount(static_cast<int>(columns.size()));
    QStringList titles;
    for (const Column& column : columns)
        titles.append(QString::fromUtf8(column.title));
    setHorizontalHeaderLabels(titles);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const QFontMetrics metrics(horizontalHeader()->font());
    int width = 0;
    int c = 0;
    for (const Column& column : columns) {
        const int fitted = std::max(column.width, metrics.horizontalAdvance(titles[c]) + 12);
        setColumnWidth(c++, fitted);
        width += fitted;
    }
    return width;
}

void TypingGrid::CommitTyping() {
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TypingGrid::DiscardTyping() {
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex()))
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

int TypingGrid::TextWidth(std::string_view text) const {
    return fontMetrics().horizontalAdvance(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

void TypingGrid::focusInEvent(QFocusEvent* event) {
    if (currentIndex().isValid() || event->reason() == Qt::MouseFocusReason) {
        QTableWidget::focusInEvent(event);
        return;
    }
    // Focus that comes by keys or with a tab switch makes the first cell current. The user chose
    // no cell, so its choice box must not open (closing it would retype the first row); and no
    // cell stays current, so that a click on that cell still selects it.
    const QSignalBlocker quiet(this);
    QTableWidget::focusInEvent(event);
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void TypingGrid::mousePressEvent(QMouseEvent* event) {
    if (!rightPressSelects && event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

bool TypingGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (canType && index.isValid() && !canType(index.row(), index.column()))
        return false;
    return QTableWidget::edit(index, trigger, event);
}

} // namespace tesmira::ui
